// The message dialog's kinds, buttons and modal results: the button table in creation order
// (name, caption with its "&" accelerator, modal result) and the caption of each kind.
#pragma once

#include <initializer_list>
#include <string>

#include "common/StrIds.h"

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum class TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
constexpr int MsgDlgBtnCount = 11;

// Modal results of the buttons (0: the dialog stays open).
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrAll = 8;
constexpr int mrNoToAll = 9;
constexpr int mrYesToAll = 10;

// A set of buttons: bit n for the n-th kind of the table.
class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn b : buttons) bits_ |= Bit(b);
  }
  constexpr bool Has(TMsgDlgBtn b) const { return (bits_ & Bit(b)) != 0; }
  constexpr int Count() const {
    int n = 0;
    for (unsigned bits = bits_; bits; bits &= bits - 1) ++n;
    return n;
  }
  constexpr unsigned Bits() const { return bits_; }

 private:
  static constexpr unsigned Bit(TMsgDlgBtn b) { return 1u << static_cast<unsigned>(b); }
  unsigned bits_ = 0;
};

struct TMsgDlgButtonInfo {
  const char* Name;
  TStrId Caption;  // the string-table text, "&" before the accelerator
  int ModalResult;
};

const TMsgDlgButtonInfo& MsgDlgButtonInfo(TMsgDlgBtn button);
// "Warning", "Error", "Information", "Confirm"; the application title for the custom kind.
std::string MsgDlgKindCaption(TMsgDlgType kind);
