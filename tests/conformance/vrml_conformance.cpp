// Reads a converted scene with an independent VRML97 reader and checks that what a viewer
// would show matches the layout: sphere positions and sizes, labels, and edge cylinders.
//
//   vrml_conformance LAYOUT.3dlayout SCENE.wrl [--labels true|false] [--edges true|false]
//                    [--colour component|none] [--names LIST] [--info TEXT]...
//                    [--size auto|FACTOR]
//
// LIST holds the labels' expected texts, one a line; TEXT is a line the WorldInfo must hold;
// --size says what the scene was converted with -size (auto: the factor is worked out here).
//
// Exit status: 0 when every check passes, 1 when any fails, 2 on bad usage or input.

#include "coin_scene.hpp"
#include "expected_scene.hpp"
#include "scene_checks.hpp"

#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFailuresShown = 10;

struct Arguments {
    std::string layoutPath;
    std::string scenePath;
    conformance::SceneOptions options;
    std::string size = "1";
};

std::optional<bool> switchValue(const std::string& word) {
    if (word == "true") {
        return true;
    }
    if (word == "false") {
        return false;
    }
    return std::nullopt;
}

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::optional<Arguments> parseArguments(const std::vector<std::string>& words) {
    if (words.size() < 2 || words.size() % 2 != 0) {
        return std::nullopt;
    }
    Arguments arguments{words[0], words[1], {}};
    for (std::size_t k = 2; k < words.size(); k += 2) {
        if (words[k] == "--colour" && (words[k + 1] == "component" || words[k + 1] == "none")) {
            arguments.options.componentColours = words[k + 1] == "component";
            continue;
        }
        if (words[k] == "--names") {
            arguments.options.names = linesOf(words[k + 1]);
            continue;
        }
        if (words[k] == "--size") {
            arguments.size = words[k + 1];
            continue;
        }
        if (words[k] == "--info") {
            arguments.options.infoLines.push_back(words[k + 1]);
            continue;
        }
        const std::optional<bool> value = switchValue(words[k + 1]);
        if (!value) {
            return std::nullopt;
        }
        if (words[k] == "--labels") {
            arguments.options.labels = *value;
        } else if (words[k] == "--edges") {
            arguments.options.edges = *value;
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

int report(const Arguments& arguments, const conformance::SceneContents& actual,
           const std::vector<std::string>& failures) {
    if (failures.empty()) {
        std::printf("%s: %zu spheres, %zu labels, %zu cylinders as expected\n",
                    arguments.scenePath.c_str(), actual.spheres.size(), actual.labels.size(),
                    actual.cylinders.size());
        return 0;
    }
    std::printf("%s: %zu check(s) failed against %s\n", arguments.scenePath.c_str(),
                failures.size(), arguments.layoutPath.c_str());
    for (std::size_t k = 0; k < failures.size() && k < kFailuresShown; ++k) {
        std::printf("  %s\n", failures[k].c_str());
    }
    if (failures.size() > kFailuresShown) {
        std::printf("  ... and %zu more\n", failures.size() - kFailuresShown);
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments =
        parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments) {
        std::printf(
            "usage: vrml_conformance LAYOUT.3dlayout SCENE.wrl [--labels true|false] "
            "[--edges true|false] [--colour component|none] [--names LIST] [--info TEXT]... "
            "[--size auto|FACTOR]\n");
        return 2;
    }
    try {
        conformance::ExpectedScene expected =
            conformance::expectedSceneFromLayout(arguments->layoutPath);
        conformance::scaleSizes(expected, arguments->size);
        const conformance::SceneContents actual =
            conformance::readSceneWithCoin(arguments->scenePath);
        return report(*arguments, actual,
                      conformance::compareScene(expected, actual, arguments->options));
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        return 2;
    }
}
