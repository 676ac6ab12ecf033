#pragma once

class QWidget;

namespace tamrivel {

class RuntimeError;

// Shows `error` in a modal box titled with the program's name and waits until
// the user dismisses it.
void showErrorBox(QWidget *parent, const RuntimeError &error);

} // namespace tamrivel
