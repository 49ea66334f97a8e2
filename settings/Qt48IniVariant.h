#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// The step between a value's unescaped text and its QVariant in the Qt 4.8 INI form.
namespace qt48ini::variant {

// One element's text as a value: text, a byte array, a rectangle, size or point, or a
// serialised variant (kept as it was read when this build cannot decode it).
QVariant stringToVariant(const QString &s);
// The elements of a list: a string list, or a variant list when one element is typed.
QVariant stringListToVariant(const QStringList &list);
// The text of one value before escaping.
QString variantToString(const QVariant &v);

} // namespace qt48ini::variant
