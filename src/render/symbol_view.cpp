#include "render/symbol_view.h"

namespace nuo4 {

namespace {
TGPColor GDefaultSymbolColor = 0xFF000000u;
}  // namespace

TrecNuo4SymbolViewSettings& Nuo4SymbolViewSettings() {
    static TrecNuo4SymbolViewSettings Settings;
    return Settings;
}

TGPColor Nuo4DefaultSymbolColor() {
    return GDefaultSymbolColor;
}
void Nuo4SetDefaultSymbolColor(TGPColor AColor) {
    GDefaultSymbolColor = AColor;
}

}  // namespace nuo4
