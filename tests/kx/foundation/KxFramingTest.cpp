// The frame controller pushing its settings to registered controls, by
// published property name and through the framing notification, and its
// stored forms and settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kx/foundation/KxCommon.h"
#include "tests/common/TestSupport.h"

namespace {

// A control publishing some of the frame properties; it logs every set.
class TFramedProbe : public TControl {
  DECLARE_CLASS(TFramedProbe, TControl)
  explicit TFramedProbe(TComponent* owner) : TControl(owner) {}
  std::vector<std::string> Log;
  TColor GetColorValue() const { return colour_; }
  void SetColorValue(TColor v) { colour_ = v, Log.push_back("Color"); }
  TColor GetFocusColor() const { return focus_; }
  void SetFocusColor(TColor v) { focus_ = v, Log.push_back("FocusColor"); }
  bool GetParentColorValue() const { return parentColor_; }
  void SetParentColorValue(bool v) { parentColor_ = v, Log.push_back("ParentColor"); }
  TFrameStyle GetFrameStyle() const { return style_; }
  void SetFrameStyle(TFrameStyle v) { style_ = v, Log.push_back("FrameStyle"); }
  TSides GetFrameSides() const { return sides_; }
  void SetFrameSides(TSides v) { sides_ = v, Log.push_back("FrameSides"); }
  bool GetFrameVisible() const { return visible_; }
  void SetFrameVisible(bool v) { visible_ = v, Log.push_back("FrameVisible"); }

 private:
  TColor colour_ = clBlack, focus_ = clBlack;
  bool parentColor_ = true, visible_ = false;
  TFrameStyle style_ = fsNone;
  TSides sides_;
};

PUBLISHED(TFramedProbe) {
  p.Prop("Color", &TFramedProbe::GetColorValue, &TFramedProbe::SetColorValue).Type(TColorTypeInfo());
  p.Prop("FocusColor", &TFramedProbe::GetFocusColor, &TFramedProbe::SetFocusColor).Type(TColorTypeInfo());
  p.Prop("ParentColor", &TFramedProbe::GetParentColorValue, &TFramedProbe::SetParentColorValue);
  p.Prop("FrameStyle", &TFramedProbe::GetFrameStyle, &TFramedProbe::SetFrameStyle).Type(TFrameStyleTypeInfo());
  p.Prop("FrameSides", &TFramedProbe::GetFrameSides, &TFramedProbe::SetFrameSides);
  p.Prop("FrameVisible", &TFramedProbe::GetFrameVisible, &TFramedProbe::SetFrameVisible);
}

// A control that reads the settings itself.
class TCustomFramed : public TControl, public IKxCustomFramingNotification {
  DECLARE_CLASS(TCustomFramed, TControl)
  explicit TCustomFramed(TComponent* owner) : TControl(owner) {}
  int Changes = 0;
  TColor ColorSeen = 0;
  void CustomFramingChanged() override { ++Changes; }
  // Published too: the interface wins, nothing is set by name.
  TFrameStyle GetFrameStyle() const { return style_; }
  void SetFrameStyle(TFrameStyle v) { style_ = v; }

 private:
  TFrameStyle style_ = fsNone;
};
PUBLISHED(TCustomFramed) {
  p.Prop("FrameStyle", &TCustomFramed::GetFrameStyle, &TCustomFramed::SetFrameStyle).Type(TFrameStyleTypeInfo());
}

using Log = std::vector<std::string>;

TEST(KxFramingTest, RegisteringPushesEverySettingTheControlPublishesOnce) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  Owned<TFramedProbe> probe(New<TFramedProbe>(nullptr));
  fc->SetFrameSides({sdLeft, sdTop});
  probe->Log.clear();
  fc->AddControl(probe.get());
  fc->AddControl(probe.get());
  EXPECT_EQ(fc->GetControlCount(), 1);
  EXPECT_EQ(probe->Log, (Log{"ParentColor", "Color", "FocusColor", "FrameSides", "FrameStyle", "FrameVisible"}));
  EXPECT_FALSE(probe->GetParentColorValue());
  EXPECT_EQ(probe->GetColorValue(), clWindow);
  EXPECT_EQ(probe->GetFrameStyle(), fsFlat);
  EXPECT_EQ(probe->GetFrameSides(), (TSides{sdLeft, sdTop}));
}

TEST(KxFramingTest, ParentColourKeepsTheColourOutOfTheFullPush) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  Owned<TFramedProbe> probe(New<TFramedProbe>(nullptr));
  fc->SetParentColor(true);
  fc->AddControl(probe.get());
  EXPECT_EQ(probe->Log.front(), "ParentColor");
  EXPECT_EQ(std::count(probe->Log.begin(), probe->Log.end(), "Color"), 0);
  probe->Log.clear();
  fc->SetParentColor(false);
  EXPECT_EQ(probe->Log, (Log{"ParentColor", "Color"}));
}

TEST(KxFramingTest, SettingTheColourTakesTheFocusColourAlongButPushesOnlyTheColour) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  Owned<TFramedProbe> probe(New<TFramedProbe>(nullptr));
  fc->AddControl(probe.get());
  probe->Log.clear();
  fc->SetColor(clYellow);
  EXPECT_EQ(fc->GetFocusColor(), clYellow);
  EXPECT_EQ(probe->Log, (Log{"Color"}));
  fc->SetColor(clYellow);  // unchanged: nothing
  EXPECT_EQ(probe->Log.size(), 1u);
  fc->SetFocusColor(clAqua);
  fc->SetColor(clLime);
  EXPECT_EQ(fc->GetFocusColor(), clAqua);
}

TEST(KxFramingTest, NestedUpdatesPushOnceAtTheOuterEnd) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  Owned<TFramedProbe> probe(New<TFramedProbe>(nullptr));
  fc->AddControl(probe.get());
  probe->Log.clear();
  fc->BeginUpdate();
  fc->BeginUpdate();
  fc->SetFrameStyle(fsLowered);
  fc->SetFrameVisible(true);
  fc->EndUpdate();
  EXPECT_TRUE(probe->Log.empty());
  fc->EndUpdate();
  EXPECT_EQ(probe->Log.size(), 6u);
  EXPECT_EQ(probe->GetFrameStyle(), fsLowered);
  fc->EndUpdate();  // unbalanced: the counter stays at 0 and pushes again
  EXPECT_EQ(fc->GetUpdateCount(), 0);
}

TEST(KxFramingTest, TheInterfaceIsToldOfEveryChangeAndNothingIsSetByName) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  Owned<TCustomFramed> custom(New<TCustomFramed>(nullptr));
  fc->AddControl(custom.get());
  fc->SetFrameStyle(fsBump);
  fc->SetColor(clRed);
  EXPECT_EQ(custom->Changes, 3);
  EXPECT_EQ(custom->GetFrameStyle(), fsNone);
}

TEST(KxFramingTest, RemovingTheLastControlFreesTheListAndNonControlsAreLeftAlone) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  Owned<TFramedProbe> probe(New<TFramedProbe>(nullptr));
  Owned<TComponent> plain(New<TComponent>(nullptr));
  fc->AddControl(probe.get());
  fc->AddControl(plain.get());
  fc->RemoveControl(probe.get());
  EXPECT_TRUE(fc->HasControlList());
  fc->RemoveControl(plain.get());
  EXPECT_FALSE(fc->HasControlList());
  probe->Log.clear();
  fc->SetFrameStyle(fsRaised);
  EXPECT_TRUE(probe->Log.empty());
  fc->AddControl(probe.get());
  EXPECT_TRUE(fc->HasControlList());
}

TEST(KxFramingTest, AssignCopiesEverySettingAndPushesOnce) {
  Owned<TKxFrameController> source(New<TKxFrameController>(nullptr));
  // Every published setting away from its default (ParentColor last: a
  // colour set afterwards would clear it).
  source->SetColor(clYellow);
  source->SetFocusColor(clAqua);
  source->SetDisabledColor(clGray);
  source->SetFlatButtonColor(clMaroon);
  source->SetFlatButtons(false);
  source->SetFrameColor(clRed);
  source->SetFrameHotColor(clBlue);
  source->SetFrameHotTrack(true);
  source->SetFrameHotStyle(fsRaised);
  source->SetFrameSides({sdLeft, sdBottom});
  source->SetFrameStyle(fsGroove);
  source->SetFramingPreference(fpCustomFraming);
  source->SetParentColor(true);
  Owned<TKxFrameController> copy(New<TKxFrameController>(nullptr));
  Owned<TFramedProbe> probe(New<TFramedProbe>(nullptr));
  copy->AddControl(probe.get());
  probe->Log.clear();
  copy->Assign(source.get());
  int compared = 0;
  for (PPropInfo info : GetPropInfos(TKxFrameController::StaticClass())) {
    if (!info->GetOrd) continue;
    SCOPED_TRACE(info->Name);
    ++compared;
    if (info->Name != "Tag") {
      EXPECT_FALSE(IsDefaultPropValue(source.get(), info)) << "the case leaves this setting at its default";
    }
    EXPECT_EQ(GetOrdProp(copy.get(), info), GetOrdProp(source.get(), info));
  }
  EXPECT_GE(compared, 14);
  // One full push at the end, the colour left out while the parent's is
  // followed.
  EXPECT_EQ(probe->Log, (Log{"ParentColor", "FocusColor", "FrameSides", "FrameStyle", "FrameVisible"}));
  EXPECT_TRUE(probe->GetParentColorValue());
  EXPECT_EQ(probe->GetFrameStyle(), fsGroove);
  EXPECT_EQ(probe->GetFrameSides(), (TSides{sdLeft, sdBottom}));
  EXPECT_TRUE(probe->GetFrameVisible());
}

TEST(KxFramingTest, HotTrackMakesTheFrameVisibleOnAllSides) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  fc->SetFrameSides({sdTop});
  fc->SetFrameHotTrack(true);
  EXPECT_TRUE(fc->GetFrameVisible());
  EXPECT_EQ(fc->GetFrameSides(), sdAllSides);
}

std::string WriteComponent(TComponent* c) {
  Owned<TStringStream> s(New<TStringStream>());
  {
    Owned<TWriter> w(New<TWriter>(s.get()));
    w->WriteRootComponent(c);
  }
  return s->GetDataString();
}

void ReadComponent(const std::string& text, TComponent* c) {
  Owned<TStringStream> s(New<TStringStream>(text));
  Owned<TReader> r(New<TReader>(s.get()));
  r->ReadRootComponent(c);
}

TEST(KxFramingTest, RetiredNamesAreReadMappedOrDroppedAndNeverWritten) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  ReadComponent(
      "object Frames: TKxFrameController\r\n"
      "  FrameFlat = True\r\n"
      "  FrameFlatStyle = fsRaised\r\n"
      "end\r\n",
      fc.get());
  EXPECT_TRUE(fc->GetFrameHotTrack());
  EXPECT_EQ(fc->GetFrameStyle(), fsStatus);
  EXPECT_EQ(fc->GetFrameHotStyle(), fsLowered);
  Owned<TKxFrameController> second(New<TKxFrameController>(nullptr));
  ReadComponent("object Frames: TKxFrameController\r\n  FrameFocusStyle = fsButtonUp\r\nend\r\n", second.get());
  EXPECT_EQ(second->GetFrameHotStyle(), fsButtonUp);
  std::string text = WriteComponent(fc.get());
  EXPECT_EQ(text.find("FrameFlat"), std::string::npos) << text;
  EXPECT_EQ(text.find("FrameFocusStyle"), std::string::npos);
  EXPECT_NE(text.find("FrameStyle = fsStatus"), std::string::npos) << text;
  // Color is not written while the controller follows its parent's colour.
  fc->SetColor(clRed);
  EXPECT_NE(WriteComponent(fc.get()).find("Color = clRed"), std::string::npos);
  fc->SetParentColor(true);
  EXPECT_EQ(WriteComponent(fc.get()).find("  Color = "), std::string::npos);
  // The stored form names only the 11 frame styles.
  Owned<TKxFrameController> third(New<TKxFrameController>(nullptr));
  EXPECT_THROW(
      ReadComponent("object Frames: TKxFrameController\r\n  FrameStyle = fsFlatRounded\r\nend\r\n", third.get()),
      EReadError);
}

TEST(KxFramingTest, LoadAndSaveNeedAStorageComponent) {
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  EXPECT_EQ(MessageOf<Exception>([&] { fc->Load("Frames"); }),
            "Cannot load Custom Framing settings--No TKxRegIniFile component specified");
  EXPECT_EQ(MessageOf<Exception>([&] { fc->Save("Frames"); }),
            "Cannot save Custom Framing settings--No TKxRegIniFile component specified");
}

TEST(KxFramingTest, SettingsRoundTripThroughAnIniFileAndDamagedValuesGiveDefaults) {
  TTempFolder folder("kxframing");
  std::string path = folder.Path("frames.ini");
  Owned<TKxRegIniFile> ini(New<TKxRegIniFile>(nullptr));
  ini->SetPath(path);
  Owned<TKxFrameController> fc(New<TKxFrameController>(nullptr));
  fc->SetRegIniFile(ini.get());
  fc->SetColor(clBtnFace);
  fc->SetFrameStyle(fsGroove);
  fc->SetFrameSides({sdLeft, sdBottom});
  fc->SetFramingPreference(fpCustomFraming);
  fc->Save("Frames");
  EXPECT_EQ(ini->ReadInteger("Frames", "Color", 0), clBtnFace);  // signed, system colours negative
  EXPECT_EQ(ini->ReadString("Frames", "FrameStyle", ""), "2");

  Owned<TKxFrameController> back(New<TKxFrameController>(nullptr));
  back->SetRegIniFile(ini.get());
  Owned<TFramedProbe> probe(New<TFramedProbe>(nullptr));
  back->AddControl(probe.get());
  probe->Log.clear();
  back->Load("Frames");
  EXPECT_EQ(back->GetColor(), clBtnFace);
  EXPECT_EQ(back->GetFrameStyle(), fsGroove);
  EXPECT_EQ(back->GetFrameSides(), (TSides{sdLeft, sdBottom}));
  EXPECT_EQ(back->GetFramingPreference(), fpCustomFraming);
  EXPECT_EQ(probe->GetFrameStyle(), fsGroove);  // one push at the end
  EXPECT_EQ(probe->Log.size(), 6u);

  // Out-of-range ordinals and a missing side.
  ini->WriteInteger("Damaged", "FrameStyle", 11);
  ini->WriteInteger("Damaged", "FrameHotStyle", -3);
  ini->WriteInteger("Damaged", "FramingPreference", 7);
  ini->WriteBool("Damaged", "FrameSides_Left", false);
  back->Load("Damaged");
  EXPECT_EQ(back->GetFrameStyle(), fsFlat);
  EXPECT_EQ(back->GetFrameHotStyle(), fsFlatBold);
  EXPECT_EQ(back->GetFramingPreference(), fpXPThemes);
  EXPECT_EQ(back->GetFrameSides(), (TSides{sdTop, sdRight, sdBottom}));
  EXPECT_EQ(back->GetDisabledColor(), clWindow);  // the stored default, not the property's
  // Freeing the storage clears the reference.
  ini.reset();
  EXPECT_EQ(back->GetRegIniFile(), nullptr);
}

}  // namespace
