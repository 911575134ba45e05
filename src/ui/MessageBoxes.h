#pragma once

#include <string>

class QWidget;

namespace partwright {

// The reports of the window's operations: modal boxes with an OK button. Messages are composed
// with CR LF line breaks; the boxes show them as plain line breaks.
void ShowError(QWidget* parent, const std::string& text);
void ShowInfo(QWidget* parent, const std::string& text);

} // namespace partwright
