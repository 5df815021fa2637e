#include "settings/TerminalFontDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

struct NamedColour
{
    const char* name;
    QRgb rgb;
};

// The sixteen basic colours a Windows font dialog offers.
constexpr NamedColour kBasic[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000}, {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080}, {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},    {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF}, {"White", 0xFFFFFF},
};

QIcon swatch(const QColor& color)
{
    QPixmap pm(16, 12);
    pm.fill(color);
    QPainter p(&pm);
    p.setPen(Qt::gray);
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return QIcon(pm);
}

} // namespace

TerminalFontDialog::TerminalFontDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FontDialog1"));
    setWindowTitle(QStringLiteral("Font"));
    setModal(true);

    m_fonts = new QFontDialog(this);
    m_fonts->setObjectName(QStringLiteral("FontChooser"));
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);

    auto* colourLabel = new QLabel(QStringLiteral("&Colour:"), this);
    m_colours = new QComboBox(this);
    m_colours->setObjectName(QStringLiteral("ColourBox"));
    colourLabel->setBuddy(m_colours);
    for (const NamedColour& c : kBasic)
        m_colours->addItem(swatch(QColor(c.rgb)), QLatin1String(c.name), QColor(c.rgb));
    m_customIndex = m_colours->count();
    m_colours->addItem(QStringLiteral("Custom"));
    m_otherIndex = m_colours->count();
    m_colours->addItem(QStringLiteral("Other..."));
    connect(m_colours, &QComboBox::activated, this, &TerminalFontDialog::colourPicked);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(m_colours, 1);
    colourRow->addStretch(2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);

    setTextColor(Qt::black);
}

void TerminalFontDialog::setCurrentFont(const QFont& font)
{
    m_fonts->setCurrentFont(font);
}

QFont TerminalFontDialog::currentFont() const
{
    return m_fonts->currentFont();
}

void TerminalFontDialog::setTextColor(const QColor& color)
{
    m_color = color;
    const int basic = indexOfColour(color);
    if (basic >= 0) {
        m_colours->setItemIcon(m_customIndex, QIcon());
        m_colours->setItemText(m_customIndex, QStringLiteral("Custom"));
        m_colours->setItemData(m_customIndex, QVariant());
        m_colours->setCurrentIndex(basic);
        return;
    }
    m_colours->setItemIcon(m_customIndex, swatch(color));
    m_colours->setItemText(m_customIndex, QStringLiteral("Custom (%1)").arg(color.name()));
    m_colours->setItemData(m_customIndex, color);
    m_colours->setCurrentIndex(m_customIndex);
}

QColor TerminalFontDialog::textColor() const
{
    return m_color;
}

void TerminalFontDialog::colourPicked(int index)
{
    if (index == m_otherIndex) {
        const QColor chosen =
            QColorDialog::getColor(m_color, this, QStringLiteral("Colour of the terminal text"),
                                   QColorDialog::DontUseNativeDialog);
        setTextColor(chosen.isValid() ? chosen : m_color);
        return;
    }
    const QVariant data = m_colours->itemData(index);
    if (data.canConvert<QColor>() && data.value<QColor>().isValid())
        setTextColor(data.value<QColor>());
    else
        setTextColor(m_color); // the empty "Custom" row: nothing to pick
}

int TerminalFontDialog::indexOfColour(const QColor& color) const
{
    for (int i = 0; i < static_cast<int>(std::size(kBasic)); ++i) {
        if (QColor(kBasic[i].rgb).rgb() == color.rgb())
            return i;
    }
    return -1;
}

QFont TerminalFontDialog::fontOf(const FontSettings& settings)
{
    QFont f(settings.name);
    f.setPointSize(settings.size);
    f.setBold(settings.bold);
    f.setItalic(settings.italic);
    return f;
}
