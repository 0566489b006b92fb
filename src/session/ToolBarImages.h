#pragma once
// The pictures of the main toolbar's buttons (16 x 15 pixels), drawn here.
#include <QIcon>

QIcon toolBarImage(int commandId);
