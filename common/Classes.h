// The object model the event log describes: every sender is a TObject with a class and a
// unit name; components add a name and an owner. An owner lists its components for look-up by
// name; it does not free them (members and smart pointers do that).
#pragma once

#include <memory>
#include <string>
#include <vector>

class TObject {
 public:
  virtual ~TObject() = default;
  // The class name as the product spells it, e.g. "TChangePathForDocsFrm".
  virtual std::string ClassName() const = 0;
  // The unit (file stem) that declares the class, e.g. "ChangePathForDocs_Unit"; empty when
  // unknown.
  virtual std::string UnitName() const { return {}; }
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner = nullptr, std::string name = {});
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TComponent* Owner() const { return owner_; }
  // Owned components in creation order.
  const std::vector<TComponent*>& Components() const { return components_; }
  // The owned component with that name (case-insensitive), or none.
  TComponent* FindComponent(const std::string& name) const;

 private:
  void Remove(TComponent* child);

  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
};

// A control sits in a parent control; forms are controls without a parent.
class TControl : public TComponent {
 public:
  using TComponent::TComponent;
  virtual TControl* Parent() const { return nullptr; }
};
