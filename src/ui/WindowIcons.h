#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures of the window shell, all drawn by the program itself.

// The 32 x 32 toolbar picture of a command; null for commands without one.
QIcon commandIcon(int commandId);
// The program's icon: a five-petalled flower.
QIcon applicationIcon();
// The splash picture shown while the library is being reset at start-up.
QPixmap splashPicture();
