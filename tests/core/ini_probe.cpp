// Runs INI reads and writes listed in a command file and prints each result
// on one line in plain ASCII, so that a script can compare the INI layer's
// behaviour byte for byte with an expected output.
//
//   INI_DIR=<folder> ini_probe FILE.cmds
//
// Commands, one a line (blank lines and lines starting with "#" skipped):
//   getstr F S K    readString          -> COUNT [TEXT]
//   getint F S K    readInt, default -1 -> SIGNED (0xHEX) | overflow
//   write F S K V   writeString         -> 1 | 0
//   dump F          the file's bytes    -> N bytes [BYTES] | no such file
//   exists F        a regular file?     -> yes (N bytes) | no
//   echo TEXT...                        -> ## TEXT
// File names are relative to INI_DIR. Arguments are separated by blanks;
// "..." groups one holding blanks; \xHH (one Windows-1252 byte), \t, \r, \n,
// \s (blank), \\ and \" work inside and outside quotes.

#include "core/Profile.h"
#include "core/platform/Windows1252.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <map>

using namespace kpl;

namespace {

QByteArray hexByte(unsigned char byte) {
    return "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
}

// Texts and arguments: bytes below 0x20 or from 0x7F up as \xHH, "\" as \\.
QByteArray escapeText(const QByteArray& bytes) {
    QByteArray out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (byte < 0x20 || byte >= 0x7F)
            out += hexByte(byte);
        else
            out += c;
    }
    return out;
}

// File contents: CR, LF and TAB by their escapes, the rest as escapeText.
QByteArray escapeDump(const QByteArray& bytes) {
    QByteArray out;
    for (const char c : bytes) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += escapeText(QByteArray(1, c));
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = char(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The escape starting at line[pos] (the backslash) appended to `out`; the
// index after it, or -1 for an unknown escape.
qsizetype takeEscape(const QByteArray& line, qsizetype pos, QByteArray& out) {
    static const std::map<char, char> simple = {{'t', '\t'}, {'r', '\r'},  {'n', '\n'},
                                                {'s', ' '},  {'\\', '\\'}, {'"', '"'}};
    if (pos + 1 >= line.size())
        return -1;
    const char kind = line[pos + 1];
    if (const auto found = simple.find(kind); found != simple.end()) {
        out += found->second;
        return pos + 2;
    }
    if (kind != 'x' || pos + 3 >= line.size())
        return -1;
    const int high = hexDigit(line[pos + 2]);
    const int low = hexDigit(line[pos + 3]);
    if (high < 0 || low < 0)
        return -1;
    out += char(high * 16 + low);
    return pos + 4;
}

// The line's arguments; false with `error` set when the line cannot be read.
bool splitArguments(const QByteArray& line, QByteArrayList& args, QByteArray& error) {
    QByteArray current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype pos = 0; pos < line.size();) {
        const char c = line[pos];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument)
                args.append(current);
            current.clear();
            inArgument = false;
            ++pos;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            pos = takeEscape(line, pos, current);
            if (pos < 0) {
                error = "bad escape";
                return false;
            }
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        else
            current += c;
        ++pos;
    }
    if (quoted) {
        error = "unterminated quote";
        return false;
    }
    if (inArgument)
        args.append(current);
    return true;
}

class Probe {
public:
    explicit Probe(QString folder) : m_folder(std::move(folder)) {}

    // The result text of one command; false for an unknown command or a
    // wrong number of arguments.
    bool run(const QByteArray& command, const QByteArrayList& args, QByteArray& result) const {
        static const std::map<QByteArray, qsizetype> arity = {
            {"getstr", 3}, {"getint", 3}, {"write", 4}, {"dump", 1}, {"exists", 1}};
        const auto expected = arity.find(command);
        if (command == "echo") {
            result = "## " + escapeText(args.join(' '));
            return true;
        }
        if (expected == arity.end() || expected->second != args.size())
            return false;
        const QString file = path(args[0]);
        if (command == "getstr")
            result = getString(file, args[1], args[2]);
        else if (command == "getint")
            result = getInt(file, args[1], args[2]);
        else if (command == "write")
            result = writeEntry(file, args[1], args[2], args[3]);
        else
            result = command == "dump" ? dump(file) : exists(file);
        return true;
    }

private:
    static QString text(const QByteArray& argument) { return platform::fromAnsi(argument); }
    QString path(const QByteArray& name) const { return QDir(m_folder).filePath(text(name)); }

    static QByteArray getString(const QString& file, const QByteArray& section,
                                const QByteArray& key) {
        const QString value = Profile().readString(file, text(section), text(key));
        return QByteArray::number(value.size()) + " [" + escapeText(platform::toAnsi(value)) + "]";
    }

    static QByteArray getInt(const QString& file, const QByteArray& section,
                             const QByteArray& key) {
        const Profile::IntRead read = Profile().readInt(file, text(section), text(key), -1);
        if (read.overflow)
            return "overflow";
        return QByteArray::number(read.value) + " (0x" +
               QByteArray::number(static_cast<quint32>(read.value), 16) + ")";
    }

    static QByteArray writeEntry(const QString& file, const QByteArray& section,
                                 const QByteArray& key, const QByteArray& value) {
        return Profile().writeString(file, text(section), text(key), text(value)) ? "1" : "0";
    }

    static QByteArray dump(const QString& file) {
        QFile input(file);
        if (!QFileInfo(file).isFile() || !input.open(QIODevice::ReadOnly))
            return "no such file";
        const QByteArray content = input.readAll();
        return QByteArray::number(content.size()) + " bytes [" + escapeDump(content) + "]";
    }

    static QByteArray exists(const QString& file) {
        const QFileInfo info(file);
        return info.isFile() ? "yes (" + QByteArray::number(info.size()) + " bytes)" : "no";
    }

    QString m_folder;
};

void print(const QByteArray& line) {
    const QByteArray out = line + '\n';
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: INI_DIR=<folder> ini_probe FILE.cmds\n", stderr);
        return 2;
    }
    QFile commands(QString::fromLocal8Bit(argv[1]));
    if (!commands.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "ini_probe: cannot read %s\n", argv[1]);
        return 2;
    }
    const QString folder = qEnvironmentVariable("INI_DIR", QStringLiteral("."));
    const Probe probe(folder);
    int status = 0;
    int number = 0;
    for (QByteArray line : commands.readAll().split('\n')) {
        ++number;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith('#'))
            continue;
        QByteArrayList args;
        QByteArray error;
        QByteArray result;
        if (!splitArguments(line, args, error)) {
            print("!! line " + QByteArray::number(number) + ": " + error);
            status = 1;
            continue;
        }
        const QByteArray command = args.takeFirst();
        QByteArray output = command;
        for (const QByteArray& arg : args)
            output += " [" + escapeText(arg) + "]";
        if (!probe.run(command, args, result)) {
            result = "!! unknown command or wrong number of arguments";
            status = 1;
        }
        print(output + " -> " + result);
    }
    return status;
}
