// The one process-wide holder of the platform services. The program entry fills it; tests
// replace the services with fakes.
#pragma once

#include <memory>

class TUiServices;
class TSystemServices;
class TAceDriver;

class TPlatform {
 public:
  TUiServices& Ui() const;
  TSystemServices& System() const;
  TAceDriver& Engine() const;
  constexpr TPlatform() = default;
  bool HasUi() const { return ui_ != nullptr; }

  void SetUi(std::unique_ptr<TUiServices> ui);
  void SetSystem(std::unique_ptr<TSystemServices> system);
  void SetEngine(std::unique_ptr<TAceDriver> engine);
  // Drops every service (end of the process, or between tests).
  void Reset();

  ~TPlatform();

 private:
  std::unique_ptr<TUiServices> ui_;
  std::unique_ptr<TSystemServices> system_;
  std::unique_ptr<TAceDriver> engine_;
};

TPlatform& Platform();
