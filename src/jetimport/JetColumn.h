#pragma once

#include <QString>

namespace kpl {

// Column type codes as a Jet file stores them.
namespace jet {
constexpr int YesNo = 0x01;
constexpr int Byte = 0x02;
constexpr int Integer = 0x03;
constexpr int Long = 0x04;
constexpr int Currency = 0x05;
constexpr int Single = 0x06;
constexpr int Double = 0x07;
constexpr int DateTime = 0x08;
constexpr int Binary = 0x09;
constexpr int Text = 0x0a;
constexpr int Ole = 0x0b;
constexpr int Memo = 0x0c;
constexpr int ReplicationId = 0x0f;
constexpr int Decimal = 0x10;
constexpr int Complex = 0x12;
} // namespace jet

// One column of a Jet table as the file declares it. Where its values lie in
// a row is stored with it, and stays as it was when the row was written:
// columns deleted later keep their place, and columns added later are
// missing from older rows.
struct JetColumn {
    QString name;
    int type = 0;
    int size = 0;      // as stored: bytes (a Jet 4 Text column reports twice its length)
    int precision = 0; // Decimal only
    int scale = 0;     // Decimal only
    int number = 0;    // its bit in a row's null mask, deleted columns counted
    bool fixedLength = false;
    int fixedOffset = 0;   // fixed length: where in the row's fixed-length part
    int variableIndex = 0; // variable length: its entry in the row's offset table
};

} // namespace kpl
