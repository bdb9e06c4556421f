// Turning the C library's locale patterns (strftime conversions, as nl_langinfo gives them for
// D_FMT and T_FMT) into the Delphi pattern language the system's formats use.
//
//   %d -> dd    %e -> d     %m -> mm    %Y -> yyyy   %y -> yy    %C%y -> yyyy
//   %b %h -> mmm            %B -> mmmm  %a -> ddd    %A -> dddd
//   %H -> hh    %k -> h     %I -> hh    %l -> h      %M -> nn    %S -> ss
//   %p %P -> AMPM (an hour before it then reads on the 12-hour clock)
//   %D -> %m/%d/%y          %F -> %Y-%m-%d           %T -> %H:%M:%S
//   %R -> %H:%M             %r -> %I:%M:%S %p        %n %t -> blank   %% -> %
//   the E and O modifiers are dropped (%Ey is %y); other conversions are left out.
// The separator character of the pattern (the first punctuation character between two fields)
// becomes "/" in a date pattern and ":" in a time pattern, so it follows
// the process separator; letters of literal text are quoted.
#pragma once

#include <string>

struct TDelphiPattern {
  std::string Pattern;
  char Separator = 0;  // the pattern's separator; 0 when it has none
};

TDelphiPattern DateFormatFromLocale(const std::string& d_fmt);
TDelphiPattern TimeFormatFromLocale(const std::string& t_fmt);
// The time pattern without its seconds (the separator before them and the unit word after them
// go with them: "hh時nn分ss秒" -> "hh時nn分"): the short time format.
std::string WithoutSeconds(const std::string& delphiTimePattern);
// The long date format for a short one: the weekday and month names in the short format's
// order of day, month and year (GetDateOrder): "dddd, d mmmm yyyy", "dddd, mmmm d, yyyy" or
// "yyyy mmmm d, dddd".
std::string LongDateFormatFor(const std::string& delphiShortDate);
