#pragma once

#include "texts/Control.h"

#include <QList>
#include <QString>

namespace kpl {

struct ProcessState;

// The language file beside the executable: executable folder + separator +
// executable name + ".ini".
QString languageFilePath(const ProcessState& state);

// The language code in use, from section "Language" of the language file.
// Without an entry it writes and returns "1031" (German).
QString GetLanguage(ProcessState& state);

// The default language file the package installs, found from the folder of
// the program file itself (links followed); "" where there is none, as in a
// build tree.
QString installedLanguageFile();

// A component folder without a language file first gets a copy of the
// installed default, when there is one. Then it walks the control
// collection: sets the captions of labels, command buttons and check boxes,
// the tooltips of every control and the help texts that the help text
// numbers select, each from the section of the current language. Every text
// the file does not hold yet is added ("0", or in German the design-time
// caption), so after one start the file lists every key a translator has to
// fill in.
void LoadToolTipTexts(ProcessState& state, QList<Control>& controls);

} // namespace kpl
