#pragma once

#include <QIcon>

// Kelvane's own icon for every window: a white church with its steeple on a deep blue tile, drawn at the
// sizes window frames and task bars ask for.
QIcon appIcon();
