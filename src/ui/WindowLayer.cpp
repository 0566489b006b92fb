#include "ui/WindowLayer.h"

namespace {
WindowLayer* installed = nullptr;
}

WindowLayer& windowLayer() { return installed ? *installed : qtWindowLayer(); }

WindowLayer* setWindowLayer(WindowLayer* layer)
{
    WindowLayer* previous = installed;
    installed = layer;
    return previous;
}
