#include "globe/data/ClassRegistry.h"

#include <gtest/gtest.h>

#include "globe/data/GlobeRoot.h"

namespace globe {
namespace {

struct TTestParent {
  int Id = 0;
};

class TTestModel : public TGlobeRoot {
 public:
  explicit TTestModel(TTestParent* parent) : Parent(parent) {}
  std::string ClassName() const override { return "TTestModel"; }
  TTestParent* Parent;
};

class TTestFlatModel : public TTestModel {
 public:
  using TTestModel::TTestModel;
  std::string ClassName() const override { return "TTestFlatModel"; }
};

class TTestOther : public TGlobeRoot {
 public:
  std::string ClassName() const override { return "TTestOther"; }
};

TEST(ClassRegistry, CreatesRegisteredClassByNameIgnoringCase) {
  RegisterGlobeClass<TTestFlatModel, TTestModel, TTestParent*>("TTestFlatModel");
  TTestParent parent{7};
  std::unique_ptr<TTestModel> model = CreateGlobeClass<TTestModel>("ttestflatMODEL", "TTestModel", &parent);
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->ClassName(), "TTestFlatModel");
  EXPECT_EQ(model->Parent, &parent);
  EXPECT_EQ(FindGlobeClass("TTESTFLATMODEL").Name(), "TTestFlatModel");
}

TEST(ClassRegistry, UnknownNameAndWrongBaseRaiseTheirMessages) {
  RegisterGlobeClass<TTestOther, TGlobeRoot>("TTestOther");
  TTestParent parent;
  try {
    CreateGlobeClass<TTestModel>("TNoSuchClass", "TTestModel", &parent);
    FAIL() << "no exception";
  } catch (const EGlobeException& e) {
    EXPECT_STREQ(e.what(), "Class TNoSuchClass not found");
  }
  try {
    CreateGlobeClass<TTestModel>("TTestOther", "TTestModel", &parent);
    FAIL() << "no exception";
  } catch (const EGlobeException& e) {
    EXPECT_STREQ(e.what(), "Class TTestOther does not inherit from TTestModel");
  }
  // Registered as a plain root with no arguments, it is creatable that way.
  EXPECT_EQ(FindGlobeClass("TTestOther").Create<TGlobeRoot>()->ClassName(), "TTestOther");
}

}  // namespace
}  // namespace globe
