#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace oplix::ui {

// Every picture of the skin, compiled into the program from resources/skin/NAME.jpg. The
// windows, the artwork painter and the tests name pictures only through these.
enum class SkinPictureId {
    ButAnuluj,
    ButAnulujAkt,
    ButCancel,
    ButCancelAkt,
    ButClose,
    ButCloseAkt,
    ButNie,
    ButNieAkt,
    ButNo,
    ButNoAkt,
    ButTak,
    ButTakAkt,
    ButYes,
    ButYesAkt,
    ButZamknij,
    ButZamknijAkt,
    GrafikaDol,
    GrafikaLewaDol,
    GrafikaLewaGora,
    GrafikaPasekLewy,
    GrafikaPowieksz,
    GrafikaPrawaDol,
    GrafikaZmniejsz,
    IkoInfo,
    IkoPytanie,
    IkoUwaga,
    Left,
    ListwaDol,
    ListwaGora,
    ListwaSuwak,
    LiteryDuze,
    LiteryMale,
    MenuPomoc,
    MenuTesty,
    Numery,
    NumeryBiale,
    Ocen,
    OknoGlowne,
    OknoLegendy,
    OknoPodpowiedzi,
    OknoPodsumowania,
    OknoTestu,
    OknoWarning,
    PasekPrawy,
    PasekSrodek,
    PasekWieleOdp,
    Podpowiedz,
    RamkaGora,
    RamkaLewa,
    RamkaPrawa,
    RamkaPrawaGora,
    Right,
    TekstDol,
    TekstLewaDol,
    TekstLewaGora,
    TekstPasekLewy,
    TekstPrawaDol,
    TekstZmniejsz,
    TekstZwieksz,
    TloBig,
    TloListy,
    TloListyTestow,
    TloListyUczniow,
    TloObieListy,
    Winieta,
    Zapisz,
    Count  // not a picture: the number of them
};

struct SkinPictureEntry {
    SkinPictureId id;
    std::string_view name;  // the resource's name, without ".jpg"
    int width;
    int height;
};

inline constexpr std::size_t kSkinPictureCount = static_cast<std::size_t>(SkinPictureId::Count);

// In the order of the enumeration.
inline constexpr std::array<SkinPictureEntry, kSkinPictureCount> kSkinPictures = {{
    {SkinPictureId::ButAnuluj, "butanuluj", 88, 26},
    {SkinPictureId::ButAnulujAkt, "butanulujakt", 88, 26},
    {SkinPictureId::ButCancel, "butcancel", 88, 26},
    {SkinPictureId::ButCancelAkt, "butcancelakt", 88, 26},
    {SkinPictureId::ButClose, "butclose", 88, 26},
    {SkinPictureId::ButCloseAkt, "butcloseakt", 88, 26},
    {SkinPictureId::ButNie, "butnie", 88, 26},
    {SkinPictureId::ButNieAkt, "butnieakt", 88, 26},
    {SkinPictureId::ButNo, "butno", 88, 26},
    {SkinPictureId::ButNoAkt, "butnoakt", 88, 26},
    {SkinPictureId::ButTak, "buttak", 88, 26},
    {SkinPictureId::ButTakAkt, "buttakakt", 88, 26},
    {SkinPictureId::ButYes, "butyes", 88, 26},
    {SkinPictureId::ButYesAkt, "butyesakt", 88, 26},
    {SkinPictureId::ButZamknij, "butzamknij", 88, 26},
    {SkinPictureId::ButZamknijAkt, "butzamknijakt", 88, 26},
    {SkinPictureId::GrafikaDol, "GrafikaDol", 600, 25},
    {SkinPictureId::GrafikaLewaDol, "GrafikaLewaDol", 85, 25},
    {SkinPictureId::GrafikaLewaGora, "GrafikaLewaGora", 85, 160},
    {SkinPictureId::GrafikaPasekLewy, "GrafikaPasekLewy", 85, 26},
    {SkinPictureId::GrafikaPowieksz, "GrafikaPowieksz", 40, 45},
    {SkinPictureId::GrafikaPrawaDol, "GrafikaPrawaDol", 30, 25},
    {SkinPictureId::GrafikaZmniejsz, "GrafikaZmniejsz", 40, 45},
    {SkinPictureId::IkoInfo, "ikoinfo", 42, 43},
    {SkinPictureId::IkoPytanie, "ikopytanie", 42, 43},
    {SkinPictureId::IkoUwaga, "ikouwaga", 42, 43},
    {SkinPictureId::Left, "Left", 16, 16},
    {SkinPictureId::ListwaDol, "ListwaDol", 16, 16},
    {SkinPictureId::ListwaGora, "ListwaGora", 16, 16},
    {SkinPictureId::ListwaSuwak, "ListwaSuwak", 16, 388},
    {SkinPictureId::LiteryDuze, "LiteryDuze", 175, 140},
    {SkinPictureId::LiteryMale, "LiteryMale", 125, 100},
    {SkinPictureId::MenuPomoc, "MenuPomoc", 250, 135},
    {SkinPictureId::MenuTesty, "MenuTesty", 250, 135},
    {SkinPictureId::Numery, "Numery", 25, 1500},
    {SkinPictureId::NumeryBiale, "NumeryBiale", 25, 1500},
    {SkinPictureId::Ocen, "Ocen", 102, 36},
    {SkinPictureId::OknoGlowne, "OknoGlowne", 790, 581},
    {SkinPictureId::OknoLegendy, "OknoLegendy", 376, 165},
    {SkinPictureId::OknoPodpowiedzi, "OknoPodpowiedzi", 386, 60},
    {SkinPictureId::OknoPodsumowania, "OknoPodsumowania", 308, 229},
    {SkinPictureId::OknoTestu, "OknoTestu", 790, 581},
    {SkinPictureId::OknoWarning, "oknowarning", 350, 150},
    {SkinPictureId::PasekPrawy, "PasekPrawy", 30, 26},
    {SkinPictureId::PasekSrodek, "PasekSrodek", 600, 26},
    {SkinPictureId::PasekWieleOdp, "PasekWieleOdp", 319, 15},
    {SkinPictureId::Podpowiedz, "Podpowiedz", 112, 36},
    {SkinPictureId::RamkaGora, "RamkaGora", 600, 40},
    {SkinPictureId::RamkaLewa, "RamkaLewa", 85, 500},
    {SkinPictureId::RamkaPrawa, "RamkaPrawa", 30, 500},
    {SkinPictureId::RamkaPrawaGora, "RamkaPrawaGora", 30, 40},
    {SkinPictureId::Right, "Right", 16, 16},
    {SkinPictureId::TekstDol, "TekstDol", 600, 29},
    {SkinPictureId::TekstLewaDol, "TekstLewaDol", 85, 29},
    {SkinPictureId::TekstLewaGora, "TekstLewaGora", 85, 200},
    {SkinPictureId::TekstPasekLewy, "TekstPasekLewy", 85, 26},
    {SkinPictureId::TekstPrawaDol, "TekstPrawaDol", 30, 29},
    {SkinPictureId::TekstZmniejsz, "TekstZmniejsz", 40, 45},
    {SkinPictureId::TekstZwieksz, "TekstZwieksz", 40, 45},
    {SkinPictureId::TloBig, "TloBig", 1920, 1200},
    {SkinPictureId::TloListy, "TloListy", 175, 1500},
    {SkinPictureId::TloListyTestow, "TloListyTestow", 310, 487},
    {SkinPictureId::TloListyUczniow, "TloListyUczniow", 310, 487},
    {SkinPictureId::TloObieListy, "TloObieListy", 585, 486},
    {SkinPictureId::Winieta, "Winieta", 366, 239},
    {SkinPictureId::Zapisz, "Zapisz", 76, 27},
}};

constexpr bool EveryPictureHasItsEntry() {
    for (std::size_t i = 0; i < kSkinPictures.size(); ++i) {
        if (static_cast<std::size_t>(kSkinPictures[i].id) != i || kSkinPictures[i].name.empty() ||
            kSkinPictures[i].width <= 0 || kSkinPictures[i].height <= 0) {
            return false;
        }
    }
    return true;
}
static_assert(EveryPictureHasItsEntry(), "every skin picture needs its entry, in enum order");

constexpr const SkinPictureEntry& SkinPictureOf(SkinPictureId id) {
    return kSkinPictures[static_cast<std::size_t>(id)];
}

}  // namespace oplix::ui
