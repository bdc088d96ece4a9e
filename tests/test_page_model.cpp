// The Geral and Sobre pages as data: names, tab order, layout, the properties bound to the
// page's controls, and the options each rule shows per type.
#include <algorithm>
#include <set>

#include "pages/AboutPageModel.h"
#include "pages/GeneralVisibility.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

using F = GeneralChild;

TEST(GeneralPageModel, UniqueNamesAndCompleteTabOrder) {
  std::set<std::u16string_view> names;
  std::vector<int> tabIndexes;
  for (size_t i = 0; i < kGeneralChildren.size(); ++i) {
    const ChildDescription& d = kGeneralChildren[i];
    EXPECT_TRUE(names.insert(d.name).second) << Utf8(d.name);
    EXPECT_EQ(FindChild(kGeneralPage, d.name), static_cast<int>(i));
    EXPECT_LE(d.position.left + d.position.width, kGeneralPage.width) << Utf8(d.name);
    EXPECT_LE(d.position.top + d.position.height, kGeneralPage.height) << Utf8(d.name);
    if (d.type != ChildKind::Line) tabIndexes.push_back(d.tabIndex);
  }
  std::sort(tabIndexes.begin(), tabIndexes.end());
  ASSERT_EQ(tabIndexes.size(), 34u);
  for (int i = 0; i < 34; ++i) EXPECT_EQ(tabIndexes[static_cast<size_t>(i)], i);
  EXPECT_EQ(DescriptionOf(F::chkMSGcpf).name, u"chkMSGcpf");
  EXPECT_EQ(DescriptionOf(F::Combo1).tabIndex, 0);
  EXPECT_EQ(FindChild(kGeneralPage, u"combo1"), -1) << "names are exact";
}

TEST(GeneralPageModel, EachEditBoxBoundToDistinctProperty) {
  std::set<Property> properties;
  std::set<F> children;
  for (const GeneralBinding& v : kGeneralBindings) {
    EXPECT_TRUE(properties.insert(v.property).second);
    EXPECT_TRUE(children.insert(v.child).second);
  }
  for (const GeneralBinding& v : kGeneralLateBindings) {
    EXPECT_TRUE(properties.insert(v.property).second);
    EXPECT_TRUE(children.insert(v.child).second);
    EXPECT_TRUE(NewerThan10(v.property)) << "an object without it is still edited";
  }
  EXPECT_EQ(properties.size(), 19u);
  EXPECT_EQ(std::size(kGeneralBindings), 18u);
  const GeneralBinding& last = kGeneralBindings[std::size(kGeneralBindings) - 1];
  EXPECT_EQ(last.child, F::chkCnpjAlfanumerico) << "loaded and applied after the 1.0 properties";
  EXPECT_EQ(last.property, Property::CnpjAlfanumerico);
  // Only the properties added since 1.0 may be missing from the object edited.
  for (const GeneralBinding& v : kGeneralBindings)
    EXPECT_EQ(NewerThan10(v.property), v.property == Property::CnpjAlfanumerico)
        << Utf8(DescriptionOf(v.property).name);
  for (size_t i = 0; i < kGeneralChildren.size(); ++i) {
    ChildKind t = kGeneralChildren[i].type;
    EXPECT_EQ(children.count(static_cast<F>(i)) == 1, t == ChildKind::CheckBox || t == ChildKind::TextBox)
        << Utf8(kGeneralChildren[i].name);
  }
}

struct VisibilityRow {
  F child;
  std::set<int> types;  // the types for which the child is shown
};

const VisibilityRow kVisibilityRows[] = {
    {F::chkAspas, {4, 5, 6, 7, 12}},       {F::chkTC_Trim, {4, 5, 6, 7, 12}},
    {F::txtMaxLength, {0, 1, 2, 3, 4, 5, 6, 7, 12}},
    {F::txtPasswordChar, {1, 2, 3, 4}},
    {F::chkMSGcpf, {9, 10, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}},
    {F::chkTravaCpf, {9, 10, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}},
    {F::txtDigitos, {0, 1}},               {F::chkNegativo, {0, 1, 2, 3}},
    {F::chkUsarp, {0}},                    {F::chkCnpjAlfanumerico, {10, 15}},
    {F::lblUF, {25}},                      {F::CBuf, {25}},
    {F::lblMascara, {26}},                 {F::txtMascara, {26}},
};

TEST(GeneralPageModel, VisibilityTableCoversEveryRule) {
  ASSERT_EQ(std::size(kVisibilityRules), std::size(kVisibilityRows));
}

class VisibilityRulesPerTipo : public ::testing::TestWithParam<VisibilityRow> {};

TEST_P(VisibilityRulesPerTipo, ShowTheChildForItsTypes) {
  const F child = GetParam().child;
  const std::set<int>& types = GetParam().types;
  auto rule = std::find_if(std::begin(kVisibilityRules), std::end(kVisibilityRules),
                           [&](const VisibilityRule& r) { return r.child == child; });
  ASSERT_NE(rule, std::end(kVisibilityRules)) << Utf8(DescriptionOf(child).name);
  for (int t = 0; t <= 27; ++t)
    EXPECT_EQ(rule->visible(t), types.count(t) == 1) << Utf8(DescriptionOf(child).name) << " " << t;
}

INSTANTIATE_TEST_SUITE_P(Rows, VisibilityRulesPerTipo, ::testing::ValuesIn(kVisibilityRows),
                         [](const ::testing::TestParamInfo<VisibilityRow>& i) {
                           return CaseName(i.index, Utf8(DescriptionOf(i.param.child).name));
                         });

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// Whether the control is on the screen for a field of type t.
bool VisibleForType(F f, int t) {
  for (const VisibilityRule& r : kVisibilityRules)
    if (r.child == f) return r.visible(t);
  return DescriptionOf(f).visible;
}

// The companions lie inside their lists on purpose and are never shown; the line crosses
// nothing. Any two controls shown together for some type must not share any point.
TEST(GeneralPageModel, VisibleControlsTogetherDoNotOverlap) {
  for (int t = 0; t <= 27; ++t) {
    for (int i = 0; i < kGeneralChildCount; ++i) {
      const F a = static_cast<F>(i);
      if (!VisibleForType(a, t)) continue;
      for (int j = i + 1; j < kGeneralChildCount; ++j) {
        const F b = static_cast<F>(j);
        if (!VisibleForType(b, t)) continue;
        EXPECT_FALSE(Overlap(DescriptionOf(a).position, DescriptionOf(b).position))
            << t << ": " << Utf8(DescriptionOf(a).name) << " " << Utf8(DescriptionOf(b).name);
      }
    }
  }
}

TEST(GeneralPageModel, CnpjAlfanumericoCheckBox) {
  const ChildDescription& d = DescriptionOf(F::chkCnpjAlfanumerico);
  EXPECT_EQ(d.type, ChildKind::CheckBox);
  EXPECT_EQ(d.caption, u"CNPJ alfanumérico");
  EXPECT_EQ(d.tooltip, u"Aceitar CNPJ alfanumérico (letras nas 12 primeiras posições)");
  EXPECT_EQ(d.tooltip, DescriptionOf(Property::CnpjAlfanumerico).help);
  EXPECT_EQ(d.textColour, kDarkBlue) << "like the other options of the control's own";
  EXPECT_EQ(d.tabIndex, 29) << "after every control of 1.0";
}

TEST(AboutPageModel, FixedContentInsideFrame) {
  const ChildDescription& frame = kAboutChildren[static_cast<size_t>(AboutChild::Frame1)];
  EXPECT_EQ(frame.caption, u"  Delvorin  - Versão 1.0   ");
  for (size_t i = 1; i < kAboutChildren.size(); ++i) {
    const ChildDescription& d = kAboutChildren[i];
    EXPECT_EQ(d.frame, 0) << Utf8(d.name);
    EXPECT_LE(d.position.left + d.position.width, frame.position.width) << Utf8(d.name);
    EXPECT_LE(d.position.top + d.position.height, frame.position.height) << Utf8(d.name);
    EXPECT_EQ(d.type == ChildKind::Label, !d.caption.empty()) << Utf8(d.name);
  }
  EXPECT_NE(kAboutChildren[1].caption.find(u"Delvorin"), std::u16string_view::npos) << "names this project";
}

}  // namespace
}  // namespace delvorin
