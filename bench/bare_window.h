// The yardstick window: what the toolkit shows at the least, at the calculator's size.
#pragma once

#include <QWidget>

#include <memory>

namespace bench {

// A top-level window with the calculator's client size holding an empty four-tab control.
std::unique_ptr<QWidget> MakeBareWindow();

} // namespace bench
