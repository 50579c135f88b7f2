#pragma once

#include <QByteArrayView>
#include <QString>

namespace kpl {

// Turns the stored bytes of a Text or Memo value into Unicode text.
//
// Jet 4 stores UCS-2 little endian. A value that starts with the bytes
// FF FE is compressed: from there on, single bytes stand for the characters
// U+0001 to U+00FF, and each zero byte switches between single bytes and
// two-byte characters. Jet 3 stores text in the code page the file was
// made with (the header's code page; 1252 where it names none). Code page
// 1252 is read as Windows reads it, by the program's own conversion
// (core/platform/Windows1252.h): the five bytes it leaves undefined are the control
// characters of the same number, so no 1252 text is refused for its bytes;
// other code pages by the system's converters (core/platform/CodePages.h).
//
// No character set setting of the environment changes the decoding. Damaged bytes (an odd number of
// bytes where two-byte characters are due, bytes another code page does not
// know) are a failure, not replaced silently.
class JetTextDecoder {
public:
    static JetTextDecoder jet4();
    static JetTextDecoder jet3(int codePage);

    // Never a null QString: an empty value gives the empty text.
    QString decode(QByteArrayView bytes) const;

private:
    JetTextDecoder(bool jet4, int codePage) : m_jet4(jet4), m_codePage(codePage) {}

    bool m_jet4;
    int m_codePage;
};

} // namespace kpl
