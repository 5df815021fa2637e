#pragma once

#include <QString>
#include <QStringList>

// A list of control names written as one text, items separated by ";":
// "Re1;Memo1" names Re1 and Memo1. The text after the last ";" counts only
// when it is not empty, so "a;;b" gives a, an empty item and b, and "a;" gives
// a alone. Names compare without regard to case.
class NameList
{
public:
    NameList() = default;
    explicit NameList(const QString& text);

    const QStringList& items() const { return m_items; }
    bool contains(const QString& name) const;

private:
    QStringList m_items;
};
