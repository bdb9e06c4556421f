// Date-times are days since 30 December 1899; the fraction is the time of day.
#pragma once

using TDateTime = double;
