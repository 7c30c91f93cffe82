// Guards the one reader of every text file: where a field ends (comma, line end,
// blank, closing quote), that an empty line is an empty field (0 as a number) and is
// counted, which texts read as numbers and booleans, the 16/32-bit limits and the
// rounding, and the size limit on files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "settings/FieldReader.h"
#include "tests/engine/TempFolder.h"

namespace vantrel {
namespace {

template <typename T>
std::string Shown(const std::optional<T>& value) {
    std::ostringstream text;
    text << std::boolalpha << (value ? *value : T{});
    return value ? text.str() : "-";
}

// Reads one field per letter (s string, d double, i integer, l long, b boolean) and
// shows them as "a|b|-" ("-" where nothing was read), then "@" and the last line.
std::string ReadFields(const std::string& text, const std::string& kinds) {
    FieldReader reader(text);
    std::string shown;
    for (const char k : kinds) {
        shown += "|" + (k == 's'   ? Shown(reader.readString())
                        : k == 'd' ? Shown(reader.readDouble())
                        : k == 'i' ? Shown(reader.readInteger())
                        : k == 'l' ? Shown(reader.readLong())
                                   : Shown(reader.readBoolean()));
    }
    return shown.substr(1) + "@" + std::to_string(reader.line()) + (reader.atEnd() ? "" : "+");
}

TEST(FieldReader, ReadsBothFileStyles) {
    struct Case {
        const char* text;
        const char* kinds;
        const char* fields;
    };
    const Case cases[] = {
        {"\"C:\\logs\\run.csv\"\r\n#TRUE#\r\n#FALSE#\r\n2.5\r\n-7\r\n100000\r\n", "sbbdil",
         "C:\\logs\\run.csv|true|false|2.5|-7|100000@6"},
        // A byte-order mark at the start is no part of the first field; later it is.
        {"\xEF\xBB\xBF\"run.csv\",\xEF\xBB\xBF", "ss", "run.csv|\xEF\xBB\xBF@1"},
        {"1.5, 2,\"a b\" ,#TRUE#\n", "ddsb", "1.5|2|a b|true@1"},
        {"1 2\r\n3", "ii", "1|2@1+"},
        {"\"a, b\"\r\n\"say \"hi\"\"\r\nnext\r\n", "sss", "a, b|say |next@3"},
        {"  Channel 0  ,x\r\n", "ss", "Channel 0|x@1"},
        {"\"\"\r\n\"b\"", "ss", "|b@2"},
        {"1\n2\r3", "iii", "1|2|3@3"},
        {"1\r\n\r\n\"two\r\nlines\"\r\n  \r\n5\r\n", "issii", "1||two\r\nlines|0|5@6"},
        {"\"never closed\r\n1\r\n", "si", "-|-@1"},
        {"TRUE,#true#,-1,#TRUE,\"#TRUE#\",#FALSE#", "bbbbbb", "-|-|-|-|-|false@1"},
        {"10,+4.5,-0.125,1E-2,1e3,12abc,abc,+-5,inf,nan,1e999,\"5\",#TRUE#", "ddddddddddddd",
         "10|4.5|-0.125|0.01|1000|-|-|-|-|-|-|-|-@1"},
        {"2.5,3.5,-0.5,32767,-32768,32768,-32769", "iiiiiii", "2|4|0|32767|-32768|-|-@1"},
        {"2147483647,2147483648,-2147483648,-2147483649", "llll", "2147483647|-|-2147483648|-@1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadFields(c.text, c.kinds), c.fields) << c.text;
    }
}

TEST(FieldReader, ReadsFilesUpToTheLimit) {
    testing::TempFolder folder;
    folder.write("fits.con", " 4 \r\n" + std::string(95, ' '));
    folder.write("big.con", std::string(101, '1'));
    std::string error;
    EXPECT_EQ(FieldReader::fromFile(folder.file("fits.con"), 100, &error)->readInteger(), 4)
        << error;
    EXPECT_FALSE(FieldReader::fromFile(folder.file("big.con"), 100, &error));
    EXPECT_EQ(error, folder.file("big.con") + " is larger than 100 bytes");
    // Asked for, the part up to the limit.
    bool truncated = false;
    auto head = FieldReader::fromFile(folder.file("big.con"), 100, &error, &truncated);
    EXPECT_EQ(std::tuple(truncated, head->readString()), std::tuple(true, std::string(100, '1')));
}

}  // namespace
}  // namespace vantrel
