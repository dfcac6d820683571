// Assert's text and place, and Supports across an object's interfaces.
#include <gtest/gtest.h>

#include "classlib/Classes.h"
#include "classlib/SysUtils.h"
#include "classlib/System.h"

namespace {

std::string FailureText(const std::function<void()>& f) {
  try {
    f();
  } catch (const EAssertionFailed& e) {
    return e.GetMessage();
  }
  return "<no failure>";
}

TEST(Assert, TheTextCarriesMessageUnitAndLine) {
  EXPECT_EQ(FailureText([] { Assert(false, "VOX Internal Error: lost", "VoxControls", 247); }),
            "VOX Internal Error: lost (VoxControls, line 247)");
  EXPECT_EQ(FailureText([] { Assert(false, "", "VoxForms", 682); }), "Assertion failed (VoxForms, line 682)");
  EXPECT_EQ(FailureText([] { Assert(true, "never", "VoxForms", 1); }), "<no failure>");
}

TEST(Assert, WithoutAPlaceItNamesTheCallingFileAndLine) {
  int line = __LINE__ + 1;
  std::string text = FailureText([] { Assert(1 + 1 == 3, "sums"); });
  // The file's own name, without the folders it was built in.
  EXPECT_EQ(text, "sums (AssertSupportsTest.cpp, line " + std::to_string(line) + ")");
  EXPECT_EQ(FailureText([] { Assert(true); }), "<no failure>");
}

class IShape : public IInterface {
 public:
  static constexpr TGUID IID = TGUID::Parse("{C1801F41-51E9-4DB5-8DB8-58AC86698C2E}");
  virtual int Corners() = 0;
};

class INamed : public IInterface {
 public:
  static constexpr TGUID IID = TGUID::Parse("{63BEBEF4-B1A2-495A-B558-7487B66F6827}");
  virtual std::string Name() = 0;
};

// A component implementing one interface, and a descendant adding another.
class TSquare : public TComponent, public IShape {
  DECLARE_CLASS(TSquare, TComponent)
  using TComponent::TComponent;
  int Corners() override { return 4; }
};
IMPLEMENT_CLASS(TSquare)

class TNamedSquare : public TSquare, public INamed {
  DECLARE_CLASS(TNamedSquare, TSquare)
  using TSquare::TSquare;
  std::string Name() override { return "square"; }
};
IMPLEMENT_CLASS(TNamedSquare)

TEST(Supports, FindsTheInterfacesOfTheObjectsOwnClassWhateverItIsHeldBy) {
  auto* plain = New<TComponent>(nullptr);
  auto* square = New<TSquare>(nullptr);
  auto* named = New<TNamedSquare>(nullptr);
  TObject* asObject = named;

  IShape* shape = nullptr;
  EXPECT_TRUE(Supports(asObject, shape));
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->Corners(), 4);
  // From one interface of an object to another of the same object.
  INamed* name = nullptr;
  EXPECT_TRUE(Supports(shape, name));
  EXPECT_EQ(name->Name(), "square");

  EXPECT_TRUE(Supports<IShape>(square));
  EXPECT_FALSE(Supports<INamed>(square));
  EXPECT_FALSE(Supports<IShape>(plain));
  name = reinterpret_cast<INamed*>(1);
  EXPECT_FALSE(Supports(static_cast<TObject*>(nullptr), name));
  EXPECT_EQ(name, nullptr);  // a refusal clears the result
  plain->Free();
  square->Free();
  named->Free();
}

TEST(Supports, GUIDsReadAndWriteTheRegistryForm) {
  TGUID g = StringToGUID("{59d0ae37-8161-4ad6-9102-14b28e5761eb}");
  EXPECT_EQ(g.D1, 0x59D0AE37u);
  EXPECT_EQ(g.D4[7], 0xEB);
  EXPECT_EQ(GUIDToString(g), "{59D0AE37-8161-4AD6-9102-14B28E5761EB}");
  EXPECT_TRUE(g == TGUID::Parse("{59D0AE37-8161-4AD6-9102-14B28E5761EB}"));
  EXPECT_FALSE(g == IShape::IID);
  for (const char* bad : {"", "59D0AE37-8161-4AD6-9102-14B28E5761EB", "{59D0AE37-8161-4AD6-9102-14B28E5761EG}",
                          "{59D0AE37-8161-4AD6-9102+14B28E5761EB}"}) {
    SCOPED_TRACE(bad);
    try {
      StringToGUID(bad);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.GetMessage(), std::string("'") + bad + "' is not a valid GUID value");
    }
  }
}

}  // namespace
