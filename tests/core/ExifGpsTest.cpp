// GPS taken out of an EXIF block as a phone writes it, in both byte orders.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/ExifGps.h"

using namespace pictra::pictures;

namespace {

// A block written as a camera writes it: header, first directory (make, orientation,
// optionally the GPS pointer, then the date), the make's text, the GPS directory with
// its latitude (three rationals, stored outside the entry) and reference letter.
class BlockWriter {
public:
    explicit BlockWriter(bool little) : m_little(little) {}

    std::string block(bool withGps) {
        m_bytes.assign("Exif\0\0", 6);
        m_bytes += m_little ? "II" : "MM";
        u16(42);
        u32(8);
        const std::uint32_t entries = withGps ? 4 : 3;
        const std::uint32_t firstEnd = 8 + 2 + entries * 12 + 4;
        const std::uint32_t make = firstEnd;                 // "Kamera\0" (7 bytes) + 1 pad
        const std::uint32_t date = make + 8;                 // "2024:05:01 10:20:30\0" (20 bytes)
        const std::uint32_t gps = date + 20;                 // the GPS directory: 2 entries
        const std::uint32_t latitude = gps + 2 + 2 * 12 + 4;  // 3 rationals
        u16(entries);
        entry(0x010F, 2, 7, make);  // Make
        entry(0x0112, 3, 1, 0);     // Orientation, set below
        m_bytes.replace(m_bytes.size() - 4, 2, shortValue(6));
        if (withGps)
            entry(0x8825, 4, 1, gps);
        entry(0x0132, 2, 20, date);  // DateTime
        u32(0);                      // no second directory
        m_bytes.append("Kamera\0\0", 8);
        m_bytes.append("2024:05:01 10:20:30\0", 20);
        if (withGps) {
            u16(2);
            entry(0x0001, 2, 2, 0);  // GPSLatitudeRef "N"
            m_bytes.replace(m_bytes.size() - 4, 2, std::string("N\0", 2));
            entry(0x0002, 5, 3, latitude);
            u32(0);
            for (std::uint32_t v : {52u, 1u, 31u, 1u, 4711u, 100u}) u32(v);
        }
        return m_bytes;
    }

    std::string shortValue(std::uint32_t v) const {
        std::string s(2, '\0');
        s[m_little ? 0 : 1] = static_cast<char>(v & 0xFF);
        s[m_little ? 1 : 0] = static_cast<char>(v >> 8);
        return s;
    }
    std::string longValue(std::uint32_t v) const {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(m_little ? i : 3 - i)] = static_cast<char>(v >> (8 * i) & 0xFF);
        return s;
    }

private:
    void u16(std::uint32_t v) { m_bytes += shortValue(v); }
    void u32(std::uint32_t v) { m_bytes += longValue(v); }
    void entry(std::uint32_t tag, std::uint32_t type, std::uint32_t count, std::uint32_t value) {
        u16(tag);
        u16(type);
        u32(count);
        u32(value);
    }

    bool m_little;
    std::string m_bytes;
};

// The entries of the first directory as 12-byte strings, the tag first.
std::vector<std::string> firstEntries(const std::string& block, const BlockWriter& w) {
    const std::size_t at = 6 + 8;
    const std::size_t count = block.substr(at, 2) == w.shortValue(4) ? 4 : block.substr(at, 2) == w.shortValue(3) ? 3 : 0;
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < count; ++i) entries.push_back(block.substr(at + 2 + i * 12, 12));
    return entries;
}

struct Case {
    const char* name;
    bool little;
};

class ExifGpsTest : public ::testing::TestWithParam<Case> {};

TEST_P(ExifGpsTest, OnlyTheGpsGoes) {
    BlockWriter w(GetParam().little);
    const std::string phone = w.block(true);
    const std::string plain = w.block(false);
    ASSERT_TRUE(exifHasGps(phone));
    EXPECT_FALSE(exifHasGps(plain));

    const std::string cleaned = exifWithoutGps(phone);
    EXPECT_FALSE(exifHasGps(cleaned));
    ASSERT_EQ(cleaned.size(), phone.size());  // every other offset stays right
    // Make, orientation and date stay in their order, the next-directory offset after them.
    auto expected = firstEntries(phone, w);
    ASSERT_EQ(expected.size(), 4u);
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(firstEntries(cleaned, w), expected);
    EXPECT_EQ(cleaned.substr(6 + 8 + 2 + 3 * 12, 16), std::string(4, '\0') + std::string(12, '\0'));
    EXPECT_NE(cleaned.find("Kamera"), std::string::npos);
    EXPECT_NE(cleaned.find("2024:05:01 10:20:30"), std::string::npos);
    // Neither the latitude nor its reference can be read out of the bytes any more.
    EXPECT_NE(phone.find(w.longValue(4711)), std::string::npos);
    EXPECT_EQ(cleaned.find(w.longValue(4711)), std::string::npos);
    EXPECT_EQ(cleaned.find(w.longValue(52) + w.longValue(1)), std::string::npos);
    EXPECT_EQ(cleaned.substr(cleaned.size() - 2 - 2 * 12 - 4 - 24), std::string(2 + 2 * 12 + 4 + 24, '\0'));

    EXPECT_EQ(exifWithoutGps(plain), plain);
    EXPECT_EQ(exifWithoutGps(cleaned), cleaned);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifGpsTest, ::testing::Values(Case{"Intel", true}, Case{"Motorola", false}),
                         [](const ::testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

TEST(ExifGps, WhatIsNoBlockOrBrokenComesBackAsItIs) {
    BlockWriter w(true);
    std::string pointerOutside = w.block(true);
    // The GPS pointer aims past the end: the pointer still goes, nothing else is touched.
    pointerOutside.replace(6 + 8 + 2 + 2 * 12 + 8, 4, w.longValue(100000));
    const std::string cleaned = exifWithoutGps(pointerOutside);
    EXPECT_FALSE(exifHasGps(cleaned));
    EXPECT_EQ(cleaned.substr(cleaned.size() - 60), pointerOutside.substr(pointerOutside.size() - 60));
    const std::string phone = w.block(true);
    for (const std::string& bytes :
         {std::string(), std::string("Exif\0\0", 6), std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33),
          phone.substr(0, 20), std::string("Exif\0\0II\x2A\0\xFF\xFF\xFF\x7F", 14)}) {
        EXPECT_FALSE(exifHasGps(bytes));
        EXPECT_EQ(exifWithoutGps(bytes), bytes);
    }
}

}  // namespace
