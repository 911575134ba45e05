#pragma once

#include <string>

class QWidget;

namespace partwright {

// The reports of the window's operations: modal boxes with an OK button. Messages are composed
// with CR LF line breaks; the boxes show them as plain line breaks.
void ShowError(QWidget* parent, const std::string& text);
// "Info..." with the warning icon, as the success report has always been shown.
void ShowSuccess(QWidget* parent, const std::string& text);

// A report that is neither success nor failure, such as a cancelled build.
void ShowNote(QWidget* parent, const std::string& text);

// A question with "Yes" and "No", either one the default; "No" is the answer to Esc.
bool AskYesNo(QWidget* parent, const std::string& text, bool yesByDefault);

} // namespace partwright
