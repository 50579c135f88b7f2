#pragma once

#include <QString>
#include <QStringView>

namespace kpl {

// The name of the collation that compares text as the old engine did:
// letter case ignored, for the letters of Windows-1252 (Ä/ä, Š/š, Œ/œ ...)
// as well as for ASCII. Statements use it where they compare text, for
// example "WHERE var_name = ? COLLATE JETTEXT". It is registered on every
// connection but never written into a table or index definition, so that
// the files stay readable for any SQLite tool.
inline constexpr char kTextCollation[] = "JETTEXT";

// Orders two texts with letter case ignored: < 0, 0 or > 0.
int compareText(QStringView a, QStringView b);

// The key a text is found by in memory: two texts have the same key exactly
// when compareText finds them equal.
QString textKey(const QString& text);

} // namespace kpl
