#include "AppLook.h"

#include <iterator>

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "CommandIds.h"
#include "Theme.h"

namespace rix {

namespace {

// The older looks take the classic bevelled style where Qt has it; the
// Office 2007 colourings share Fusion with different tints.
constexpr CAppLook::TLook kLooks[] = {
    {ID_VIEW_APPLOOK_WIN_2000, "Windows 2000", "Windows", 0xD4D0C8, 0xD4D0C8, 0x0A246A, 0x000000},
    {ID_VIEW_APPLOOK_OFF_XP, "Office XP", "Fusion", 0xF7F6F3, 0xEFEDE8, 0x316AC5, 0x000000},
    {ID_VIEW_APPLOOK_WIN_XP, "Windows XP", "Fusion", 0xECE9D8, 0xF4F3EE, 0x316AC5, 0x000000},
    {ID_VIEW_APPLOOK_OFF_2003, "Office 2003", "Fusion", 0xC4DAFA, 0xDDECFE, 0xFFD58D, 0x000000},
    {ID_VIEW_APPLOOK_VS_2005, "Visual Studio.NET 2005", "Fusion", 0xEEEDE5, 0xF5F4EF, 0x3399FF, 0x000000},
    {ID_VIEW_APPLOOK_OFF_2007_BLUE, "Office 2007 (Blue Style)", "Fusion", 0xBFDBFF, 0xDCE9F8, 0xFFD86B, 0x15428B},
    {ID_VIEW_APPLOOK_OFF_2007_BLACK, "Office 2007 (Black Style)", "Fusion", 0x535353, 0x6A6A6A, 0xFFC83C, 0xFFFFFF},
    {ID_VIEW_APPLOOK_OFF_2007_SILVER, "Office 2007 (Silver Style)", "Fusion", 0xD0D4DD, 0xE7EAEF, 0xFFD86B, 0x4C535C},
    {ID_VIEW_APPLOOK_OFF_2007_AQUA, "Office 2007 (Aqua Style)", "Fusion", 0xC9D8E3, 0xE2ECF2, 0xFFD86B, 0x2B4D6C},
};

QColor Rgb(unsigned value)
{
    return QColor::fromRgb(QRgb(0xFF000000u | value));
}

} // namespace

const CAppLook::TLook* CAppLook::Find(int id)
{
    for (const TLook& look : kLooks)
        if (look.id == id)
            return &look;
    return nullptr;
}

const CAppLook::TLook* CAppLook::Looks(int& count)
{
    count = static_cast<int>(std::size(kLooks));
    return kLooks;
}

bool CAppLook::IsDark(const TLook& look)
{
    return Rgb(look.window).lightness() < 128;
}

QPalette CAppLook::PaletteOf(const TLook& look)
{
    const QColor window = Rgb(look.window);
    const QColor text = Rgb(look.text);
    const bool dark = IsDark(look);
    QPalette palette(Rgb(look.button), window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, dark ? QColor(Qt::white) : QColor(Qt::black));
    palette.setColor(QPalette::Base, dark ? window.darker(140) : QColor(Qt::white));
    palette.setColor(QPalette::AlternateBase, dark ? window.darker(120) : window.lighter(108));
    const QColor highlight = Rgb(look.highlight);
    palette.setColor(QPalette::Highlight, highlight);
    // White on the blue selections of the older looks, black on the light
    // amber of the Office ones (luma of ITU-R BT.601, 0..255).
    const int luma = (299 * highlight.red() + 587 * highlight.green() + 114 * highlight.blue()) / 1000;
    palette.setColor(QPalette::HighlightedText, luma < 160 ? QColor(Qt::white) : QColor(Qt::black));
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::ToolTipText, QColor(Qt::black));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, dark ? window.lighter(170) : window.darker(160));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, dark ? window.lighter(170) : window.darker(160));
    palette.setColor(QPalette::Disabled, QPalette::Text, dark ? window.lighter(170) : window.darker(160));
    return palette;
}

bool CAppLook::Apply(int id)
{
    const TLook* look = Find(id);
    if (!look)
        return false;
    // Not every Qt build has the classic style; Fusion always exists.
    QStyle* style = QStyleFactory::create(QString::fromLatin1(look->styleName));
    if (!style)
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(style);
    QApplication::setPalette(PaletteOf(*look));
    CTheme::SetScheme(IsDark(*look) ? CTheme::SCHEME_DARK : CTheme::SCHEME_LIGHT);
    // The editor windows keep off-screen pictures in the old colours; a
    // repaint makes them notice the theme's new generation.
    for (QWidget* widget : QApplication::allWidgets())
        widget->update();
    return true;
}

} // namespace rix
