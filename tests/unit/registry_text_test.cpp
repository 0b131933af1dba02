#include "settings/registry_text.h"

#include <gtest/gtest.h>

namespace vorlix::settings {
namespace {

using platform::RegistryValue;

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(RegistryValueText, TextTypesGiveTheirTextUpToTheFirstNul) {
  using namespace std::string_literals;
  EXPECT_EQ(RegistryValueText({platform::kRegString, "C:\\Ost\0"s}), "C:\\Ost");
  EXPECT_EQ(RegistryValueText({platform::kRegString, "no terminator"}), "no terminator");
  EXPECT_EQ(RegistryValueText({platform::kRegString, ""}), "");
  EXPECT_EQ(RegistryValueText({platform::kRegExpandString, "%TEMP%\\x\0"s}), "%TEMP%\\x");
  EXPECT_EQ(RegistryValueText({platform::kRegMultiString, "first\0second\0\0"s}), "first");
  EXPECT_EQ(RegistryValueText({platform::kRegMultiString, "\0\0"s}), "");
}

TEST(RegistryValueText, NumbersGiveUnsignedDecimal) {
  EXPECT_EQ(RegistryValueText({platform::kRegDword, Bytes({0x1F, 0, 0, 0})}), "31");
  EXPECT_EQ(RegistryValueText({platform::kRegDword, Bytes({0x01, 0x02, 0x03, 0x04})}), "67305985");
  EXPECT_EQ(RegistryValueText({platform::kRegDword, Bytes({0xFF, 0xFF, 0xFF, 0xFF})}),
            "4294967295");
  EXPECT_EQ(RegistryValueText({platform::kRegDwordBigEndian, Bytes({0x01, 0x02, 0x03, 0x04})}),
            "16909060");
  EXPECT_EQ(RegistryValueText({platform::kRegQword, Bytes({0, 0, 0, 0, 1, 0, 0, 0})}),
            "4294967296");
  EXPECT_EQ(RegistryValueText(
                {platform::kRegQword, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}),
            "18446744073709551615");
}

TEST(RegistryValueText, BinaryUnknownAndMisSizedValuesReadAsAbsent) {
  EXPECT_EQ(RegistryValueText({platform::kRegBinary, "text"}), std::nullopt);
  EXPECT_EQ(RegistryValueText({platform::kRegNone, ""}), std::nullopt);
  EXPECT_EQ(RegistryValueText({platform::kRegLink, "x"}), std::nullopt);
  EXPECT_EQ(RegistryValueText({99, "x"}), std::nullopt);
  EXPECT_EQ(RegistryValueText({platform::kRegDword, Bytes({1, 0})}), std::nullopt);
  EXPECT_EQ(RegistryValueText({platform::kRegQword, Bytes({1, 0, 0, 0})}), std::nullopt);
}

}  // namespace
}  // namespace vorlix::settings
