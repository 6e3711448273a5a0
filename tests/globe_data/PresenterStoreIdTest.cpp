// Presenter store ID rules, with a minimal presenter class.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"

namespace globe {
namespace {

class TTestPresenter : public TGlobePresenter {
 public:
  using TGlobePresenter::TGlobePresenter;
  void RenderObject(TCustomVoduz4&, TGlobeObject&, uint16_t) override {}
  bool HitTestObject(TCustomVoduz4&, const TGeoPoint&, TGlobeObject&, int32_t) override {
    return false;
  }

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TCustomVoduz4* globe, int32_t id) const override {
    return std::make_unique<TTestPresenter>(globe, id);
  }
};

// The store and the presenters only keep the globe pointer here.
TCustomVoduz4* const AnyGlobe = reinterpret_cast<TCustomVoduz4*>(alignof(std::max_align_t));

std::unique_ptr<TGlobePresenter> Presenter(int32_t id, const std::string& name = "") {
  auto p = std::make_unique<TTestPresenter>(AnyGlobe, id);
  p->SetName(name);
  return p;
}

TEST(PresenterStoreIdTest, AddNumbersPresentersWithoutIDAndRefusesTakenIDs) {
  TGlobePresenterStore store(AnyGlobe);
  EXPECT_EQ(0, store.Add(nullptr));
  EXPECT_EQ(1, store.Add(Presenter(0)));
  EXPECT_EQ(2, store.Add(Presenter(0)));
  EXPECT_EQ(5, store.Add(Presenter(5, "five")));
  EXPECT_EQ(3, store.Count());
  EXPECT_EQ(2, store.Presenters(1)->PresenterID());
  EXPECT_EQ(5, store.Add(Presenter(5, "other five")));
  EXPECT_EQ(3, store.Count());
  EXPECT_EQ("five", store.ByID(5, false)->Name());
  EXPECT_EQ(6, store.Add(Presenter(0)));
}

TEST(PresenterStoreIdTest, NewIDsAreAtLeastOneAndNeverOverflow) {
  TGlobePresenterStore negative(AnyGlobe);
  negative.Add(Presenter(-1));
  negative.Add(Presenter(-2));
  EXPECT_EQ(1, negative.Add(Presenter(0)));

  TGlobePresenterStore top(AnyGlobe);
  top.Add(Presenter(1));
  top.Add(Presenter(2));
  top.Add(Presenter(std::numeric_limits<int32_t>::max()));
  top.Add(Presenter(4));
  EXPECT_EQ(3, top.Add(Presenter(0)));
  EXPECT_EQ(5, top.Add(Presenter(0)));
}

TEST(PresenterStoreIdTest, NullGlobeIsAProgrammingError) {
  try {
    TGlobePresenterStore store(nullptr);
    FAIL() << "no error";
  } catch (const std::logic_error& e) {
    EXPECT_STREQ("TGlobePresenterStore.Create passed nil Parent", e.what());
  }
  try {
    TTestPresenter presenter(nullptr, 1);
    FAIL() << "no error";
  } catch (const std::logic_error& e) {
    EXPECT_STREQ("TGlobePresenter.Create passed nil Globe", e.what());
  }
}

TEST(PresenterStoreIdTest, RemoveHandsThePresenterBack) {
  TGlobePresenterStore store(AnyGlobe);
  store.Add(Presenter(0, "a"));
  store.Add(Presenter(0, "b"));
  TGlobePresenter* a = store.Presenters(0);
  store.SetModified(false);
  std::unique_ptr<TGlobePresenter> removed = store.Remove(a);
  ASSERT_EQ(a, removed.get());
  EXPECT_EQ(1, store.Count());
  EXPECT_EQ("b", store.Presenters(0)->Name());
  EXPECT_TRUE(store.Modified());
  EXPECT_EQ(nullptr, store.Remove(a));
  EXPECT_THROW(store.Presenters(1), std::out_of_range);
  EXPECT_THROW(store.Presenters(-1), std::out_of_range);
}

}  // namespace
}  // namespace globe
