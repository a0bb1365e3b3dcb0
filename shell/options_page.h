#pragma once
// The pages of the options dialog, by index, as the popup menu asks for them
// and the dialog shows them.

enum TOptionsPage { PageGeneral = 0, PageSensitivity = 1, PageApplications = 2, PageAdvanced = 3 };

// Asks for the page that the dialog showed last.
inline constexpr int PageAsLastShown = -1;
