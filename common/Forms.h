// Forms and data modules: the two kinds of top-level component. Data modules register
// themselves while they live, so the log can find a failing query by its owner's name.
#pragma once

#include <vector>

#include "common/Classes.h"

// A top-level window of ours.
class TForm : public TControl {
 public:
  using TControl::TControl;
};

// A non-visual container of tables and queries.
class TDataModule : public TComponent {
 public:
  explicit TDataModule(TComponent* owner = nullptr, std::string name = {});
  ~TDataModule() override;
};

// The live data modules in creation order.
std::vector<TDataModule*> DataModules();

// The form that contains control (the control itself when it is a form), or none.
const TForm* GetParentForm(const TControl* control);
