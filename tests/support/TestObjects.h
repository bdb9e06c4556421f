// Senders for log tests: a form standing in for the main window, controls on it, and data
// modules of a chosen class and unit.
#pragma once

#include <string>

#include "common/Forms.h"
#include "platform/UiServices.h"

class TTestForm : public TForm {
 public:
  using TForm::TForm;
  std::string ClassName() const override { return "TChangePathForDocsFrm"; }
  std::string UnitName() const override { return "ChangePathForDocs_Unit"; }
};

class TTestControl : public TControl {
 public:
  TTestControl(TComponent* owner, std::string name, std::string cls, TControl* parent)
      : TControl(owner, std::move(name)), cls_(std::move(cls)), parent_(parent) {}
  std::string ClassName() const override { return cls_; }
  std::string UnitName() const override { return "StdCtrls"; }
  TControl* Parent() const override { return parent_; }

 private:
  std::string cls_;
  TControl* parent_;
};

class TTestModule : public TDataModule {
 public:
  TTestModule(std::string name, std::string cls, std::string unit)
      : TDataModule(nullptr, std::move(name)), cls_(std::move(cls)), unit_(std::move(unit)) {}
  std::string ClassName() const override { return cls_; }
  std::string UnitName() const override { return unit_; }

 private:
  std::string cls_, unit_;
};

// How the user interface describes an open form.
inline TFormInfo FormInfo(std::string cls, std::string name, std::string caption) {
  TFormInfo info;
  info.ClassName = std::move(cls);
  info.Name = std::move(name);
  info.Caption = std::move(caption);
  return info;
}
