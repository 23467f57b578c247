// The table of lines and columns against counting them one character at a time, over random text
// made of line ends of every kind, tabs, and characters of one to four bytes, crossing the table's
// 64 KiB blocks.
#include "ZuXLineTable.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(LineTableTest, AgreesWithCountingCharacterByCharacter) {
    const char* const pieces[] = {"a",
                                  "<",
                                  "\n",
                                  "\r",
                                  "\r\n",
                                  "\t",
                                  "\xC3\xA9",
                                  "\xE2\x82\xAC",
                                  "\xF0\x9F\x98\x80",
                                  "abcdefghijklmnopqrstuvwxyz0123456789"};
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        std::string text = round % 3 == 0 ? "\xEF\xBB\xBF" : "";
        const std::size_t size = round % 8 == 0 ? 140000 + random() % 60000 : random() % 400;
        while (text.size() < size) text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        const CZuXLineTable table(text.data(), text.size());
        const std::size_t start = round % 3 == 0 ? 3 : 0;
        unsigned long line = 1;
        unsigned long column = 1;
        for (std::size_t i = start; i <= text.size(); ++i) {
            // Items start at ASCII or after it: never inside a run of bytes from 0x80 up.
            if (i == start || static_cast<unsigned char>(text[i - 1]) < 0x80) {
                const SourcePosition position = table.At(i);
                ASSERT_EQ(line, position.line) << "round " << round << ", offset " << i;
                ASSERT_EQ(column, position.column) << "round " << round << ", offset " << i;
            }
            if (i == text.size()) break;
            const auto c = static_cast<unsigned char>(text[i]);
            if (c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
                ++line;
                column = 1;
            } else if ((c & 0xC0) != 0x80) {
                ++column;
            }
        }
    }
}
