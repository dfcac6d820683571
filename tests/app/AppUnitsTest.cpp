// The menu program's start-up list: the Unicode layer starts in it, after
// the class library, so the program runs with the layer's message hook.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppUnits.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxFormsPrivate.h"

namespace {

TEST(AppUnits, TheUnicodeLayerStartsAfterTheClassLibrary) {
  std::vector<std::string> names;
  for (const TUnitEntry& u : AppUnits()) names.push_back(u.Name);
  auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  const auto end = static_cast<std::ptrdiff_t>(names.size());
  ASSERT_LT(at("VoxForms"), end);
  EXPECT_LT(at("Forms"), at("VoxControls")) << "the application exists when the layer starts";
  EXPECT_LT(at("VoxControls"), at("VoxForms"));
  // This process started with the program's list.
  EXPECT_NE(VoxApplication.Get(), nullptr);
  EXPECT_NE(vox_forms::gGetMessageHook, nullptr);
}

}  // namespace
