#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace rix {

// The editors' error message: a modal box captioned "Error" with the error
// icon, after which the window that reported gets the keyboard focus back.
// Tests put a hook in place of the box, since nothing may wait for a click.
class CErrorBox {
public:
    using THook = std::function<void(QWidget* parent, const QString& text)>;

    static void Show(QWidget* parent, const QString& text);
    // An empty hook brings the box back.
    static void SetHook(THook hook);
};

} // namespace rix
