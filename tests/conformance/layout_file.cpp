#include "layout_file.hpp"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace conformance {
namespace {

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
        // Commas between fields are separators; a value ends at "/" or "\" (a trailing weight).
        const std::size_t start = word.find_first_not_of(",/\\");
        if (start == std::string::npos) {
            continue;
        }
        const std::size_t end = word.find_first_of("/\\", start);
        fields.push_back(word.substr(start, end == std::string::npos ? end : end - start));
    }
    return fields;
}

double coordinateOf(std::string field, const std::string& where) {
    for (char& c : field) {
        if (c == 'd' || c == 'D') {
            c = 'e';
        }
    }
    char* end = nullptr;
    const double value = std::strtod(field.c_str(), &end);
    if (end == field.c_str()) {
        throw std::runtime_error("no number in coordinate \"" + field + "\"" + where);
    }
    return value;
}

long referenceOf(const std::string& field, const std::string& where) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(field.c_str(), &end, 10);
    if (end == field.c_str() || errno != 0) {
        throw std::runtime_error("no number in reference \"" + field + "\"" + where);
    }
    return value;
}

LayoutNode nodeOf(const std::string& line, const std::string& where) {
    const std::vector<std::string> fields = fieldsOf(line);
    if (fields.size() < 3) {
        throw std::runtime_error("fewer than three coordinates" + where);
    }
    LayoutNode node{coordinateOf(fields[0], where),
                    coordinateOf(fields[1], where),
                    coordinateOf(fields[2], where),
                    {}};
    for (std::size_t k = 3; k < fields.size(); ++k) {
        node.references.push_back(referenceOf(fields[k], where));
    }
    return node;
}

std::string headerLine(std::istream& in, long& lineNumber) {
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty() || line.front() != '%') {
            return line;
        }
    }
    throw std::runtime_error("no header line");
}

} // namespace

std::vector<LayoutNode> readLayoutFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    long lineNumber = 0;
    std::istringstream header(headerLine(in, lineNumber));
    long nodeCount = 0;
    long edgeCount = 0;
    if (!(header >> nodeCount >> edgeCount) || nodeCount < 1) {
        throw std::runtime_error(path + ": bad header at line " + std::to_string(lineNumber));
    }
    std::vector<LayoutNode> nodes;
    std::string line;
    while (static_cast<long>(nodes.size()) < nodeCount && std::getline(in, line)) {
        ++lineNumber;
        nodes.push_back(nodeOf(line, " in " + path + " at line " + std::to_string(lineNumber)));
    }
    if (static_cast<long>(nodes.size()) < nodeCount) {
        throw std::runtime_error(path + " has fewer node lines than its header says");
    }
    for (const LayoutNode& node : nodes) {
        for (const long reference : node.references) {
            if (reference > nodeCount) {
                throw std::runtime_error(path + " refers to node " + std::to_string(reference) +
                                         " of " + std::to_string(nodeCount));
            }
        }
    }
    return nodes;
}

} // namespace conformance
