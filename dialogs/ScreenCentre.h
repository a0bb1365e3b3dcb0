#pragma once
// Places a window in the centre of the screen it is on.

class QWidget;

void CentreOnScreen(QWidget& window);
