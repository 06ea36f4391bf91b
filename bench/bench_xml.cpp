// Loading a test description of about 1 MB with TpkXML (8-bit and UTF-16) and, for scale, with
// pugixml (the same content as UTF-8, default options).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <pugixml.hpp>
#include <string>

#include "storage/Bytes.h"
#include "storage/Cp1250.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"

namespace {

constexpr std::size_t kTargetSize = 1 << 20;

// A test in the program's layout: root tst, a header and many questions with their answers.
std::string MakeDescriptionUtf8() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
        "<tst>\r\n"
        "\t<ver>40</ver>\r\n"
        "\t<nag autor=\"Zofia Żółkiewska\">Sprawdzian z historii &amp; WOS, klasa 3</nag>\r\n"
        "\t<czs>45</czs>\r\n";
    for (int i = 1; text.size() < kTargetSize; ++i) {
        const std::string n = std::to_string(i);
        text += "\t<pyt" + n + " nr=\"" + n + "\" typ=\"1\">\r\n";
        text += "\t\t<tre>Pytanie " + n +
                ": W którym roku odbyła się bitwa pod Grunwaldem i kto dowodził wojskami "
                "polsko-litewskimi? Zaznacz wszystkie poprawne odpowiedzi.</tre>\r\n";
        for (int a = 1; a <= 4; ++a) {
            const std::string m = std::to_string(a);
            text += "\t\t<odp" + m + " pop=\"" + (a == 2 ? "1" : "0") + "\">Odpowiedź " + m +
                    ": Władysław Jagiełło, rok 14" + std::to_string(10 + a) +
                    " &lt;źródło: kronika&gt;</odp" + m + ">\r\n";
        }
        text += "\t\t<pod>Pomyśl o zakonie krzyżackim i roku 1410.</pod>\r\n";
        text += "\t\t<obr>rycina" + n + ".jpg</obr>\r\n";
        text += "\t</pyt" + n + ">\r\n";
    }
    text += "</tst>\r\n";
    return text;
}

struct Inputs {
    oplix::Bytes ansi;
    oplix::Bytes utf16;
    std::string utf8;
};

const Inputs& GetInputs() {
    static const Inputs inputs = [] {
        Inputs made;
        made.utf8 = MakeDescriptionUtf8();
        const std::string ansi = oplix::Utf8ToCp1250(made.utf8);
        made.ansi.assign(ansi.begin(), ansi.end());
        made.utf16 = {0xFF, 0xFE};
        for (char16_t unit : oplix::Utf8ToUtf16(made.utf8)) {
            made.utf16.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            made.utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        return made;
    }();
    return inputs;
}

void LoadWithTpkXML(benchmark::State& state, const oplix::Bytes& bytes) {
    oplix::TpkXML xml;
    for (auto _ : state) {
        if (!xml.LoadFromBytes(bytes)) {
            state.SkipWithError("the description did not load");
            break;
        }
        benchmark::DoNotOptimize(xml.Root().ChildCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_TpkXMLLoadAnsi(benchmark::State& state) {
    LoadWithTpkXML(state, GetInputs().ansi);
}

void BM_TpkXMLLoadUtf16(benchmark::State& state) {
    LoadWithTpkXML(state, GetInputs().utf16);
}

void BM_PugixmlLoadUtf8(benchmark::State& state) {
    const std::string& text = GetInputs().utf8;
    pugi::xml_document document;
    for (auto _ : state) {
        if (!document.load_buffer(text.data(), text.size())) {
            state.SkipWithError("pugixml did not load the description");
            break;
        }
        benchmark::DoNotOptimize(document.first_child());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_TpkXMLLoadAnsi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TpkXMLLoadUtf16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlLoadUtf8)->Unit(benchmark::kMillisecond);

}  // namespace
