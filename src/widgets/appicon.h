#pragma once

#include <QIcon>
#include <QPixmap>

// Kelvane's own picture: an open book with a cross rising from its spine on a blue tile, drawn at any size.
QPixmap appLogo(int size);
// The same picture as the icon of every window, at the sizes window frames and task bars ask for.
QIcon appIcon();
