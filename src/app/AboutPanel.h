#pragma once

#include <QPixmap>

class QWidget;

// The about panel's picture: our own, drawn rather than loaded.
QPixmap AboutPicture();
// The about panel from the Help menu: the picture, closed by a click or any key.
void ShowAboutPanel(QWidget* parent);
