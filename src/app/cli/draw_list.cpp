#ifdef NUO4_CLI_WITH_RENDER

#include "app/cli/draw_list.h"

#include <cmath>
#include <cstdlib>

#include "render/symbol.h"

namespace nuo4::cli {

namespace {

int Thousandths(double V) {
    return static_cast<int>(std::lround(V * 1000.0));
}

json PathPoints(const QPainterPath& P) {
    json Points = json::array();
    for (int I = 0; I < P.elementCount(); ++I) {
        const QPainterPath::Element E = P.elementAt(I);
        Points.push_back(static_cast<int>(E.type));
        Points.push_back(Thousandths(E.x));
        Points.push_back(Thousandths(E.y));
    }
    return Points;
}

void Observe(const TNuo4Symbol& ASymbol, const QTransform& AToPage, void* AContext) {
    json& List = *static_cast<json*>(AContext);
    // Pen widths scale with the placement, as the painter draws them.
    const double Scale = std::sqrt(std::fabs(AToPage.determinant()));
    json Items = json::array();
    for (const TrecNuo4SymbolPathItem& Item : ASymbol.GetSymbolPathes())
        Items.push_back({{"t", Item.IsStroke() ? "stroke" : "fill"},
                         {"w", Thousandths(Item.PenWidth * Scale)},
                         {"d", Item.IsDashed()},
                         {"p", PathPoints(AToPage.map(Item.APath))}});
    List.push_back({{"kind", EnumName(ASymbol.GetSymbolType())}, {"items", Items}});
}

}  // namespace

json DrawListFillEntry(const char* AKind, const std::vector<QPainterPath>& APathes) {
    json Items = json::array();
    for (const QPainterPath& P : APathes)
        if (!P.isEmpty())
            Items.push_back({{"t", "fill"}, {"w", 0}, {"d", false}, {"p", PathPoints(P)}});
    return {{"kind", AKind}, {"items", Items}};
}

json RecordDrawList(const std::function<void()>& ADraw) {
    json List = json::array();
    Nuo4SetSymbolDrawObserver(&Observe, &List);
    ADraw();
    Nuo4SetSymbolDrawObserver(nullptr, nullptr);
    return List;
}

bool CompareDrawLists(const json& AExpected, const json& AActual, int ATolerance,
                      std::string& AWhy) {
    auto Fail = [&](const std::string& AWhere) {
        AWhy = AWhere;
        return false;
    };
    if (!AExpected.is_array() || !AActual.is_array()) return Fail("a list is not an array");
    if (AExpected.size() != AActual.size())
        return Fail("symbol count " + std::to_string(AActual.size()) + ", expected " +
                    std::to_string(AExpected.size()));
    for (size_t S = 0; S < AExpected.size(); ++S) {
        const json& E = AExpected[S];
        const json& A = AActual[S];
        const std::string Where = "symbol " + std::to_string(S) + " (" + E.value("kind", "") + ")";
        if (E["kind"] != A["kind"]) return Fail(Where + ": kind " + A.value("kind", ""));
        if (E["items"].size() != A["items"].size()) return Fail(Where + ": item count");
        for (size_t I = 0; I < E["items"].size(); ++I) {
            const json& EI = E["items"][I];
            const json& AI = A["items"][I];
            const std::string WhereItem = Where + " item " + std::to_string(I);
            if (EI["t"] != AI["t"] || EI["d"] != AI["d"])
                return Fail(WhereItem + ": fill or stroke");
            if (std::abs(EI["w"].get<int>() - AI["w"].get<int>()) > ATolerance)
                return Fail(WhereItem + ": pen width");
            const json& EP = EI["p"];
            const json& AP = AI["p"];
            if (EP.size() != AP.size()) return Fail(WhereItem + ": path element count");
            for (size_t K = 0; K < EP.size(); K += 3) {
                if (EP[K] != AP[K]) return Fail(WhereItem + ": path element type");
                for (size_t C = 1; C <= 2; ++C)
                    if (std::abs(EP[K + C].get<int>() - AP[K + C].get<int>()) > ATolerance)
                        return Fail(WhereItem + ": point " + std::to_string(K / 3) + " moved by " +
                                    std::to_string(AP[K + C].get<int>() - EP[K + C].get<int>()) +
                                    " thousandths of a mm");
            }
        }
    }
    return true;
}

}  // namespace nuo4::cli

#endif
