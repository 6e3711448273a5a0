#include "globe/data/ClassRegistry.h"

#include <gtest/gtest.h>

#include "globe/data/GlobeRoot.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

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
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { CreateGlobeClass<TTestModel>("TNoSuchClass", "TTestModel", &parent); }),
            "Class TNoSuchClass not found");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { CreateGlobeClass<TTestModel>("TTestOther", "TTestModel", &parent); }),
            "Class TTestOther does not inherit from TTestModel");
  // Registered as a plain root with no arguments, it is creatable that way.
  EXPECT_EQ(FindGlobeClass("TTestOther").Create<TGlobeRoot>()->ClassName(), "TTestOther");
}

}  // namespace
}  // namespace globe
