#include "settings/StyleDefinition.h"

#include <QRegularExpression>

const QStringList& StyleDefinition::requiredColours()
{
    static const QStringList keys = {
        QStringLiteral("window"),       QStringLiteral("windowText"),
        QStringLiteral("base"),         QStringLiteral("alternateBase"),
        QStringLiteral("text"),         QStringLiteral("button"),
        QStringLiteral("buttonTop"),    QStringLiteral("buttonBottom"),
        QStringLiteral("buttonText"),   QStringLiteral("buttonHover"),
        QStringLiteral("highlight"),    QStringLiteral("highlightedText"),
        QStringLiteral("toolTipBase"),  QStringLiteral("toolTipText"),
        QStringLiteral("header"),       QStringLiteral("headerText"),
        QStringLiteral("border"),       QStringLiteral("accent"),
        QStringLiteral("disabledText"), QStringLiteral("terminal"),
    };
    return keys;
}

std::optional<quint32> StyleDefinition::parseColour(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^#([0-9A-Fa-f]{6})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toUInt(nullptr, 16);
}

std::optional<StyleDefinition> StyleDefinition::parse(const QString& text, QString* error)
{
    auto fail = [error](const QString& reason) -> std::optional<StyleDefinition> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    StyleDefinition def;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return fail(QStringLiteral("line %1: expected key = value").arg(i + 1));
        def.m_values.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    for (const QString& key : requiredColours()) {
        if (!def.m_values.contains(key))
            return fail(QStringLiteral("missing colour %1").arg(key));
        if (!parseColour(def.m_values.value(key)))
            return fail(QStringLiteral("%1 is not a #rrggbb colour").arg(key));
    }
    return def;
}

std::optional<quint32> StyleDefinition::colour(const QString& key) const
{
    return parseColour(m_values.value(key));
}

QString StyleDefinition::expand(const QString& sheetTemplate, QStringList* unknown) const
{
    // "@buttonText" is one name, never "@button" followed by "Text".
    static const QRegularExpression name(QStringLiteral("@([A-Za-z][A-Za-z0-9]*)"));
    QString out;
    out.reserve(sheetTemplate.size());
    qsizetype at = 0;
    QRegularExpressionMatchIterator it = name.globalMatch(sheetTemplate);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(sheetTemplate).mid(at, m.capturedStart() - at);
        const QString key = m.captured(1);
        if (m_values.contains(key)) {
            out += m_values.value(key);
        } else {
            out += m.captured(0);
            if (unknown && !unknown->contains(key))
                unknown->append(key);
        }
        at = m.capturedEnd();
    }
    out += QStringView(sheetTemplate).mid(at);
    return out;
}
