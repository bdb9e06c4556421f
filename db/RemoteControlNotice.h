// What the remote-control notice says, shared by the window form (app/DatGenDisplayAdsMsg_Unit)
// and the console program's text: shown when the database server refuses a session run through
// remote control.
#pragma once

#include <string>

// The product's guide on running it through remote control. The one place this address lives.
inline constexpr const char* RemoteControlGuideUrl =
    "https://support.varnel.com/guides/remote-control";

inline constexpr const char* RemoteControlNoticeCaption = "Message";
inline constexpr const char* RemoteControlNoticeLine1 =
    "You can run VarnelCRM while using remote control technologies";
inline constexpr const char* RemoteControlNoticeLine2 =
    "such as Remote Desktop, Terminal Services and Citrix.";
inline constexpr const char* RemoteControlNoticeLine3 =
    "Please use the link below for more information on how to allow this.";
inline constexpr const char* RemoteControlNoticeLink = "Learn More";

// The notice as text, for a terminal: the three lines, then the guide's address.
inline std::string RemoteControlNoticeText() {
  return std::string(RemoteControlNoticeLine1) + "\n" + RemoteControlNoticeLine2 + "\n" +
         RemoteControlNoticeLine3 + "\n" + RemoteControlGuideUrl;
}

// The name the programs register the notice's form under (TUiServices::ShowForm).
inline constexpr const char* RemoteControlNoticeForm = "TFrmDatGenDisplayAdsMsg";
