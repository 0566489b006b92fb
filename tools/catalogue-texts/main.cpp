// Lists the texts the program's sources hand to the translation layer and
// checks catalogues for them:
//
//   catalogue_texts --root <checkout> [--indirect <list>] [--catalogue <file.mo>]...
//
// For each catalogue that lacks texts, the missing entries are written to
// standard output in ".po" form, ready to be added to its source in po/ and
// translated. Without a catalogue every text is written. The exit status is
// 1 when a catalogue lacks a text, a call's text cannot be told from the
// sources (and the list of indirect texts does not account for it), or a
// text is not plain ASCII (the catalogues are recoded, the sources are not,
// so such a text would never be found); 2 on a usage or file error.
#include "SourceTexts.h"

#include "gettext/MoCatalog.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

bool readFile(const std::filesystem::path& path, std::string& content)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    content = text.str();
    return true;
}

void writeEntry(const sourcetexts::Text& t)
{
    std::cout << "#: " << t.file << ":" << t.line << "\nmsgid \"" << sourcetexts::poEscape(t.text)
              << "\"\nmsgstr \"\"\n\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path root;
    std::string indirectPath;
    std::vector<std::string> catalogues;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            std::cerr << "catalogue_texts: " << option << " needs a value\n";
            return 2;
        }
        if (option == "--root")
            root = argv[++i];
        else if (option == "--indirect")
            indirectPath = argv[++i];
        else if (option == "--catalogue")
            catalogues.push_back(argv[++i]);
        else {
            std::cerr << "usage: catalogue_texts --root <checkout> [--indirect <list>] [--catalogue <file.mo>]...\n";
            return 2;
        }
    }
    if (root.empty()) {
        std::cerr << "catalogue_texts: --root is needed\n";
        return 2;
    }

    sourcetexts::IndirectTexts indirect;
    bool failed = false;
    if (!indirectPath.empty()) {
        std::string content;
        if (!readFile(indirectPath, content)) {
            std::cerr << "catalogue_texts: cannot read " << indirectPath << "\n";
            return 2;
        }
        std::vector<std::string> errors;
        indirect = sourcetexts::parseIndirectTexts(content, errors);
        for (const std::string& line : errors) {
            std::cerr << indirectPath << ": not understood: " << line << "\n";
            failed = true;
        }
    }

    // Every source of the program, in a fixed order.
    std::vector<std::filesystem::path> paths;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root / "src", error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const std::string extension = it->path().extension().string();
        if (it->is_regular_file() && (extension == ".cpp" || extension == ".h"))
            paths.push_back(it->path());
    }
    if (error || paths.empty()) {
        std::cerr << "catalogue_texts: no sources under " << (root / "src").string() << "\n";
        return 2;
    }
    std::sort(paths.begin(), paths.end());
    std::vector<sourcetexts::SourceFile> files;
    for (const auto& path : paths) {
        sourcetexts::SourceFile file { std::filesystem::relative(path, root).generic_string(), {} };
        if (!readFile(path, file.content)) {
            std::cerr << "catalogue_texts: cannot read " << path.string() << "\n";
            return 2;
        }
        files.push_back(std::move(file));
    }

    const sourcetexts::Extraction found = sourcetexts::extract(files, indirect);
    for (const auto& u : found.unresolved) {
        std::cerr << u.file << ":" << u.line << ": the text of " << u.call
                  << " cannot be told from the sources; write it where the call can show it, or account for it in "
                  << (indirectPath.empty() ? "the list of indirect texts" : indirectPath) << "\n";
        failed = true;
    }
    for (const auto& t : found.nonAscii) {
        std::cerr << t.file << ":" << t.line << ": \"" << sourcetexts::poEscape(t.text)
                  << "\" is not plain ASCII: no catalogue can translate it\n";
        failed = true;
    }

    if (catalogues.empty()) {
        for (const auto& t : found.texts)
            writeEntry(t);
        return failed ? 1 : 0;
    }
    for (const std::string& path : catalogues) {
        MoCatalog catalogue;
        if (!catalogue.load(path)) {
            std::cerr << "catalogue_texts: cannot load " << path << "\n";
            return 2;
        }
        std::vector<const sourcetexts::Text*> missing;
        for (const auto& t : found.texts)
            if (catalogue.find(t.text).empty())
                missing.push_back(&t);
        if (missing.empty())
            continue;
        failed = true;
        std::cerr << path << " lacks " << missing.size() << " of the " << found.texts.size() << " texts\n";
        std::cout << "# Missing in " << path << ":\n\n";
        for (const auto* t : missing)
            writeEntry(*t);
    }
    return failed ? 1 : 0;
}
