#include "common/SysUtils.h"

#include <gtest/gtest.h>

#include "common/Classes.h"

TEST(SysUtils, UpperCaseMapsAsciiOnlyAndKeepsHebrew) {
  EXPECT_EQ(UpperCase("c:\\docs\\\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D.doc"),
            "C:\\DOCS\\\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D.DOC");
  EXPECT_EQ(UpperCase("\xE9t\xE9"), "\xE9T\xE9");  // Latin-1 bytes stay as they are
}

TEST(SysUtils, TrimDropsBlanksAndControlCharacters) {
  EXPECT_EQ(Trim(" \t\r\n x y \n\r"), "x y");
  EXPECT_EQ(Trim(" \t "), "");
}

namespace {
struct TThing : TComponent {
  using TComponent::TComponent;
  std::string ClassName() const override { return "TThing"; }
};
}  // namespace

TEST(Classes, OwnerFindsComponentsByNameAndForgetsFreedOnes) {
  TThing owner(nullptr, "Owner");
  {
    TThing child(&owner, "DatDocsTbl");
    EXPECT_EQ(owner.FindComponent("datdocstbl"), &child);
  }
  EXPECT_EQ(owner.FindComponent("DatDocsTbl"), nullptr);
  auto orphan = std::make_unique<TThing>(nullptr, "Orphan");
  {
    TThing parent(nullptr, "Parent");
    auto* child = new TThing(&parent, "Child");
    orphan.reset(child);
  }
  EXPECT_EQ(orphan->Owner(), nullptr);  // the owner went first and let go
}
