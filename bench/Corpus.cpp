#include "Corpus.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

const char* const kMimeFile = "/usr/share/mime/packages/freedesktop.org.xml";
const char* const kIsoFile = "/usr/share/xml/iso-codes/iso_639-3.xml";

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !text.empty();
}

// A small fixed pseudo-random sequence (64-bit linear congruential, Knuth's constants), so the
// generated document is the same on every machine and with every standard library.
class Sequence {
public:
    unsigned Next(unsigned bound) {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>((m_state >> 33) % bound);
    }

private:
    std::uint64_t m_state = 0x5A5558u;
};

const char* const kWords[] = {"alpha",  "bravo",   "charlie", "delta",  "echo",   "foxtrot", "golf",
                              "hotel",  "india",   "juliet",  "kilo",   "lima",   "mike",    "november",
                              "oscar",  "papa",    "quebec",  "romeo",  "sierra", "tango",   "uniform",
                              "victor", "whiskey", "xray",    "yankee", "zulu"};
const char* const kTags[] = {"red", "green", "blue", "black", "white", "grey", "gold", "silver"};
const char* const kRegions[] = {"north", "south", "east", "west"};

template <std::size_t N>
const char* Pick(Sequence& random, const char* const (&list)[N]) {
    return list[random.Next(N)];
}

void AppendItem(std::string& out, Sequence& random, unsigned id) {
    char line[160];
    const char* first = Pick(random, kWords);
    const char* second = Pick(random, kWords);
    std::snprintf(line, sizeof line,
                  "    <item id=\"%u\" name=\"%s-%s-%u\" price=\"%u.%02u\" stock=\"%u\" available=\"%s\">\n", id, first,
                  second, id, random.Next(1000), random.Next(100), random.Next(100), random.Next(5) ? "true" : "false");
    out += line;
    out += "      <title>";
    const unsigned words = 2 + random.Next(5);
    for (unsigned w = 0; w < words; ++w) {
        if (w) out += ' ';
        out += Pick(random, kWords);
    }
    out += "</title>\n";
    const unsigned tags = random.Next(4);
    for (unsigned t = 0; t < tags; ++t) {
        std::snprintf(line, sizeof line, "      <tag name=\"%s\" weight=\"%u\"/>\n", Pick(random, kTags),
                      random.Next(10));
        out += line;
    }
    if (random.Next(8) == 0) out += "      <note>Ships in 3 &amp; more days; see <![CDATA[<terms>]]>.</note>\n";
    out += "    </item>\n";
}

// A name of the freedesktop.org namespace, as someone writes it without prefixes.
std::string Mime(const char* name) {
    return std::string("*[local-name()='") + name +
           "' and namespace-uri()='http://www.freedesktop.org/standards/shared-mime-info']";
}

std::vector<zuxbench::Query> Same(std::initializer_list<const char*> queries) {
    std::vector<zuxbench::Query> result;
    for (const char* q : queries) result.push_back({q, q, std::string()});
    return result;
}

} // namespace

std::string zuxbench::GenerateDocument(std::size_t minimumBytes) {
    std::string out;
    out.reserve(minimumBytes + 4096);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<catalog generator=\"zux-bench\">\n";
    Sequence random;
    unsigned id = 0;
    for (unsigned section = 0; out.size() < minimumBytes; ++section) {
        char line[128];
        std::snprintf(line, sizeof line, "  <section id=\"%u\" name=\"section-%u\" region=\"%s\">\n", section, section,
                      Pick(random, kRegions));
        out += line;
        const unsigned items = 50 + random.Next(100);
        for (unsigned i = 0; i < items; ++i) AppendItem(out, random, ++id);
        out += "  </section>\n";
    }
    out += "</catalog>\n";
    return out;
}

std::vector<zuxbench::Corpus> zuxbench::LoadCorpora(std::vector<std::string>& missing, const std::string& only) {
    const auto wanted = [&only](const std::string& name) {
        return only.empty() || only.find("," + name + ",") != std::string::npos;
    };
    std::vector<Corpus> corpora;

    Corpus mime;
    mime.name = "freedesktop";
    mime.savedToFile = true;
    mime.source = kMimeFile;
    mime.intAttribute = "weight";
    mime.stringAttribute = "type";
    // pugixml matches names as written; libxml2 needs a prefix for the default namespace.
    mime.nsPrefix = "m";
    mime.nsUri = "http://www.freedesktop.org/standards/shared-mime-info";
    mime.queries = {
        {"/mime-info/mime-type[@type='text/plain']", "/m:mime-info/m:mime-type[@type='text/plain']",
         "/" + Mime("mime-info") + "/" + Mime("mime-type") + "[@type='text/plain']"},
        {"//mime-type[glob/@pattern='*.txt']", "//m:mime-type[m:glob/@pattern='*.txt']",
         "//" + Mime("mime-type") + "[" + Mime("glob") + "/@pattern='*.txt']"},
        {"//glob[@weight]", "//m:glob[@weight]", "//" + Mime("glob") + "[@weight]"},
        {"//comment[@xml:lang='de']", "//m:comment[@xml:lang='de']", "//" + Mime("comment") + "[@xml:lang='de']"},
        {"//mime-type[sub-class-of/@type='text/plain']", "//m:mime-type[m:sub-class-of/@type='text/plain']",
         "//" + Mime("mime-type") + "[" + Mime("sub-class-of") + "/@type='text/plain']"},
        {"//magic[@priority > 70]", "//m:magic[@priority > 70]", "//" + Mime("magic") + "[@priority > 70]"},
        {"//match[@type='string'][@offset='0']", "//m:match[@type='string'][@offset='0']",
         "//" + Mime("match") + "[@type='string'][@offset='0']"},
        {"/mime-info/mime-type[last()]", "/m:mime-info/m:mime-type[last()]",
         "/" + Mime("mime-info") + "/" + Mime("mime-type") + "[last()]"},
        {"//mime-type[alias]/@type", "//m:mime-type[m:alias]/@type",
         "//" + Mime("mime-type") + "[" + Mime("alias") + "]/@type"},
        {"//mime-type[starts-with(@type, 'image/')]/comment[not(@xml:lang)]",
         "//m:mime-type[starts-with(@type, 'image/')]/m:comment[not(@xml:lang)]",
         "//" + Mime("mime-type") + "[starts-with(@type, 'image/')]/" + Mime("comment") + "[not(@xml:lang)]"},
    };

    Corpus iso;
    iso.name = "iso_639-3";
    iso.savedToFile = true;
    iso.source = kIsoFile;
    iso.intAttribute = "id"; // three letters: the integer read gives 0 after trying
    iso.stringAttribute = "name";
    iso.queries = Same({
        "/iso_639_3_entries/iso_639_3_entry[@id='deu']",
        "//iso_639_3_entry[@scope='M']",
        "//iso_639_3_entry[@type='E']",
        "//iso_639_3_entry[@part1_code]",
        "//iso_639_3_entry[starts-with(@name, 'A')]",
        "//iso_639_3_entry[@status='Retired']",
        "//iso_639_3_entry[contains(@name, 'Sign')]",
        "//iso_639_3_entry[@inverted_name]/@inverted_name",
        "/iso_639_3_entries/iso_639_3_entry[position() > 7000]",
        "//iso_639_3_entry[@name != @reference_name]",
    });

    for (Corpus* file : {&mime, &iso}) {
        if (!wanted(file->name)) continue;
        if (ReadFile(file->source, file->text))
            corpora.push_back(std::move(*file));
        else
            missing.push_back(file->source);
    }

    if (wanted("generated")) {
        Corpus generated;
        generated.name = "generated";
        generated.source = "generated in memory (50 MB)";
        generated.text = GenerateDocument(kGeneratedBytes);
        generated.intAttribute = "id";
        generated.stringAttribute = "name";
        generated.queries = Same({
            "/catalog/section[@id='7']/item",
            "/catalog/section/item[@available='false']",
            "//item[@price > 995]",
            "/catalog/section/item[title='alpha bravo']",
            "//tag[@name='gold'][@weight='9']",
            "/catalog/section[count(item) > 145]",
            "/catalog/section[last()]/item[1]",
            "//item[starts-with(@name, 'zulu-zulu')]",
            "/catalog/section/item[tag/@name='red'][@stock < 2]",
            "/catalog/section/item[position() mod 1000 = 0]/@id",
        });
        corpora.push_back(std::move(generated));
    }
    return corpora;
}
