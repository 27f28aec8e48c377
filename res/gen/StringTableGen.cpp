// Turns the string files (one "id<TAB>text" per line, '#' starts a comment line)
// into a sorted C++ table. The text may use the escapes \n, \t and \\.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

std::string cLiteral(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const char n = text[++i];
            if (n == 'n')
                out += "\\n";
            else if (n == 't')
                out += "\\t";
            else if (n == 'r')
                out += "\\r";
            else if (n == '\\')
                out += "\\\\";
            else {
                out += "\\\\";
                out += n;
            }
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '?') {
            out += "\\?"; // no trigraphs
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: kzev_strgen OUTPUT [FILE.tsv...]\n";
        return 2;
    }
    std::map<int, std::string> table;
    for (int a = 2; a < argc; ++a) {
        std::ifstream in(argv[a]);
        if (!in) {
            std::cerr << argv[a] << ": cannot open\n";
            return 1;
        }
        std::string line;
        int lineNo = 0;
        while (std::getline(in, line)) {
            ++lineNo;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == '#')
                continue;
            const auto tab = line.find('\t');
            int id = 0;
            try {
                if (tab == std::string::npos)
                    throw std::invalid_argument("no tab");
                std::size_t used = 0;
                id = std::stoi(line.substr(0, tab), &used);
                if (used != tab)
                    throw std::invalid_argument("id");
            } catch (const std::exception&) {
                std::cerr << argv[a] << ":" << lineNo << ": expected id<TAB>text\n";
                return 1;
            }
            if (!table.emplace(id, line.substr(tab + 1)).second) {
                std::cerr << argv[a] << ":" << lineNo << ": id " << id << " given twice\n";
                return 1;
            }
        }
    }
    std::ostringstream out;
    out << "// Generated from res/strings/*.tsv; do not edit.\n"
           "#include \"platform/StringTableData.h\"\n\n"
           "namespace kzev {\n\n"
           "const StringTableEntry kStringTable[] = {\n";
    for (const auto& [id, text] : table)
        out << "    {" << id << ", \"" << cLiteral(text) << "\"},\n";
    if (table.empty())
        out << "    {0, \"\"},\n";
    out << "};\n\nconst std::size_t kStringTableSize = " << table.size() << ";\n\n} // namespace kzev\n";
    std::ofstream file(argv[1], std::ios::binary);
    file << out.str();
    return file ? 0 : 1;
}
