#include "app/frame/FrameMenus.h"

#include <array>

namespace kzev {

namespace {

using K = MenuItemDef::Kind;

constexpr MenuItemDef cmd(int id) { return { K::Command, id, nullptr }; }
constexpr MenuItemDef sep() { return { K::Separator, 0, nullptr }; }
constexpr MenuItemDef popup(const char* text) { return { K::Popup, 0, text }; }
constexpr MenuItemDef end() { return { K::EndPopup, 0, nullptr }; }

const auto kMainMenu = std::to_array<MenuItemDef>({
    popup("&Soubor"),
        cmd(57600), cmd(57601), cmd(57603), cmd(57604),
        sep(),
        popup("&Import"),
            cmd(32855), cmd(32875), cmd(32878), cmd(32861),
        end(),
        popup("E&xport"),
            cmd(32857), cmd(32856), cmd(32862), cmd(32941), cmd(32860), cmd(32942),
        end(),
        sep(),
        cmd(32892), cmd(32920),
        sep(),
        cmd(57607), cmd(57609), cmd(57606),
        sep(),
        { K::RecentFiles, 0, nullptr },
        sep(),
        cmd(57665),
    end(),
    popup("Ú&pravy"),
        cmd(57634), cmd(32898),
        sep(),
        cmd(32889), cmd(32890),
        sep(),
        cmd(32823),
        sep(),
        cmd(32924),
        sep(),
        cmd(32822),
    end(),
    popup("&Vložit"),
        cmd(32818), cmd(32882),
        sep(),
        cmd(32819), cmd(32900), cmd(32913),
        sep(),
        cmd(32820), cmd(32887),
        sep(),
        cmd(32821), cmd(32864), cmd(32865), cmd(32866), cmd(32867), cmd(32877), cmd(32901),
        sep(),
        cmd(32902),
        sep(),
        cmd(32868), cmd(32869),
    end(),
    popup("&Zobrazení"),
        { K::ToolbarMenu, 32771, "&Nástrojové panely" },
        sep(),
        cmd(32826), cmd(32825), cmd(32830), cmd(32827), cmd(32831), cmd(32829),
        sep(),
        cmd(32899),
        sep(),
        cmd(32835), cmd(32837), cmd(32839),
        sep(),
        cmd(32914), cmd(32921), cmd(32925),
    end(),
    popup("&Výpočet"),
        cmd(32834), cmd(32938),
        sep(),
        cmd(32886), cmd(32891),
        sep(),
        cmd(32836),
    end(),
    popup("Nápo&věda"),
        cmd(57670), cmd(57667), cmd(57671), cmd(57669),
        sep(),
        cmd(57664),
    end(),
});

const auto kProjectMenu = std::to_array<MenuItemDef>({
    cmd(32818), cmd(32882),
    sep(),
    cmd(32819), cmd(32900), cmd(32913),
    sep(),
    cmd(32820), cmd(32887),
    sep(),
    cmd(32821), cmd(32864), cmd(32865), cmd(32866), cmd(32867), cmd(32877), cmd(32901),
    sep(),
    cmd(32902),
    sep(),
    cmd(32889), cmd(32890), cmd(32898),
    sep(),
    cmd(32868), cmd(32869),
    sep(),
    cmd(32823),
    sep(),
    cmd(32822),
});

const auto kViewMenu = std::to_array<MenuItemDef>({
    cmd(57634),
    sep(),
    cmd(32883), cmd(32884), cmd(32885),
});

const auto kToolbarMenu = std::to_array<MenuItemDef>({
    cmd(59392), cmd(32832), cmd(32844), cmd(32851), cmd(32871), cmd(32803), cmd(32804),
    sep(),
    cmd(32770),
});

// 0 stands for a separator.
const auto kStandard = std::to_array<int>({ 57600, 57601, 57603, 0, 57634, 0, 57607, 57609, 0, 57664 });
const auto kView = std::to_array<int>({ 32826, 32825, 0, 32830, 32827, 32831, 32829, 0, 32835, 32837, 32870,
    32899, 0, 32918, 32919 });
const auto kCalc = std::to_array<int>({ 32834, 32836, 32852 });
const auto kEdit = std::to_array<int>({ 32818, 32882, 0, 32819, 32900, 32913, 0, 32820, 32887, 0, 32821, 32864,
    32865, 32866, 32867, 32877, 32901, 0, 32822, 32823, 0, 32868, 32869, 0, 32889, 32890 });
const auto kTools = std::to_array<int>({ 32861, 0, 32860, 32939, 32940, 0, 32878, 32862 });
const auto kLegends = std::to_array<int>({ 32816, 32914, 32921, 32924, 32925 });

} // namespace

std::span<const MenuItemDef> mainMenu() { return kMainMenu; }
std::span<const MenuItemDef> projectMenu() { return kProjectMenu; }
std::span<const MenuItemDef> viewMenu() { return kViewMenu; }
std::span<const MenuItemDef> toolbarMenu() { return kToolbarMenu; }

std::span<const int> toolbarButtons(int resourceId)
{
    switch (resourceId) {
    case 128: return kStandard;
    case 163: return kView;
    case 187: return kCalc;
    case 189: return kEdit;
    case 195: return kTools;
    case 239: return kLegends;
    default: return {};
    }
}

} // namespace kzev
