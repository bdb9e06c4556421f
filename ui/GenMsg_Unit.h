// The product's message dialog: built in code, centred over the window the user works in,
// returning the modal result of the button pressed. Callers use GenShowMessage.
#pragma once

#include <memory>
#include <string>

#include "ui/MessageForm.h"
#include "ui/MsgDlgButtons.h"

// Adjusts the dialog just before it is shown.
using TMessageHook = void (*)(void* hookData, TMessageForm& dialog);

// Builds, shows modally and frees the dialog; returns the modal result. checked receives the
// final state of the check box (false without one: checkCaption empty). The hook is called
// only when it is a real address (above 65535). linkId 0: no help link. With stayOnTop, or when
// the active form stays on top, the dialog has no owner window and stays above every window, so
// it shows above the active form on whichever monitor that form is.
int GenMessageDlgEx(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                    bool& checked, TMessageHook hook, void* hookData, bool centreOnActive,
                    bool initiallyChecked, const std::string& checkCaption, int linkId,
                    bool stayOnTop);
// No hook, check box or link, not forced on top, centred over the active window.
int GenMessageDlg(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons);
// Caption the application title, one OK button. kind says where a terminal writes the text.
void GenShowMessage(const std::string& text, TMessageKind kind = TMessageKind::mkInformation);
// Builds the dialog without showing it: size from the font's average character, centred on
// the screen.
std::unique_ptr<TMessageForm> CreateGenMessageDialog(const std::string& text, TMsgDlgType kind,
                                                     TMsgDlgButtons buttons);
