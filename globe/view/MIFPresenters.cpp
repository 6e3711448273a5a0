#include "globe/view/MIFPresenters.h"

#include <memory>
#include <typeinfo>

#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/MIFFile.h"
#include "globe/data/MIFReader.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"

namespace globe {

namespace {

TGlobePen PenOf(const TMIFStyle& style) {
    return TGlobePen(style.PenColor, static_cast<TPenStyle>(style.PenStyle), style.PenWidth, TGlobeUnitTypes::Pixel);
}

TGlobeBrush BrushOf(const TMIFStyle& style) {
    return TGlobeBrush(style.BrushColor, style.BrushBkColor, static_cast<TGlobeBrushStyle>(style.BrushStyle));
}

TGlobeFont TextFontOf(const TMIFStyle& style) {
    TGlobeFont font(style.FontName, style.FontSize, TGlobeUnitTypes::Meter, style.FontColor);
    font.SetFontAngle(style.FontAngle);
    return font;
}

// The first presenter of class P in the store for which `matches` holds.
template <class P, class Match>
P* Find(TGlobePresenterStore& store, Match matches) {
    for (int32_t i = 0; i < store.Count(); ++i)
        if (auto* presenter = dynamic_cast<P*>(store.Presenters(i));
            presenter && typeid(*presenter) == typeid(P) && matches(*presenter))
            return presenter;
    return nullptr;
}

template <class P>
int32_t PolyPresenter(TGlobePresenterStore& store, const TGlobePen& pen, const TGlobeBrush* brush) {
    if (P* found = Find<P>(store, [&](const P& p) {
            return p.PolyPen().Equals(pen) && (!brush || p.PolyBrush().Equals(*brush));
        }))
        return found->PresenterID();
    auto presenter = std::make_unique<P>(store.Globe(), 0);
    presenter->PolyPen().Assign(pen);
    if (brush)
        presenter->PolyBrush().Assign(*brush);
    return store.Add(std::move(presenter));
}

int32_t PointPresenter(TGlobePresenterStore& store, const TGlobePen& pen, const TGlobeBrush& brush,
                       const TGlobeFont* font) {
    if (TPointPresenter* found = Find<TPointPresenter>(store, [&](const TPointPresenter& p) {
            return p.PointPen().Equals(pen) && p.PointBrush().Equals(brush) && (!font || p.PointFont().Equals(*font));
        }))
        return found->PresenterID();
    auto presenter = std::make_unique<TPointPresenter>(store.Globe(), 0);
    presenter->PointPen().Assign(pen);
    presenter->PointBrush().Assign(brush);
    if (font) {
        presenter->PointFont().Assign(*font);
        presenter->TitleFont().SetFontName("Arial");
    }
    return store.Add(std::move(presenter));
}

} // namespace

int32_t MIFPresenterFor(TGlobeObjectSource& source, const TMIFObject& object) {
    TGlobePresenterStore& store = *source.Presenters();
    const TMIFStyle defaults;
    switch (object.Statement) {
    case msRegion: {
        const TGlobeBrush brush = BrushOf(object.Style);
        return PolyPresenter<TPolygonPresenter>(store, PenOf(object.Style), &brush);
    }
    case msLine:
    case msPline:
        return PolyPresenter<TPolylinePresenter>(store, PenOf(object.Style), nullptr);
    case msPoint:
        return PointPresenter(store, PenOf(object.Style), BrushOf(object.Style), nullptr);
    case msText: {
        // A label: the pen and brush are the plain ones, the text font is the statement's.
        const TGlobeFont font = TextFontOf(object.Style);
        return PointPresenter(store, PenOf(defaults), BrushOf(defaults), &font);
    }
    }
    return 0;
}

void InstallMIFPresenterFactory() { SetMIFPresenterFactory(&MIFPresenterFor); }

} // namespace globe
