// -size auto|FACTOR scales every sphere and cylinder in every format; without it every format
// writes what it wrote before. A value that is neither is refused before anything is written.
#include "html/page_data_format.hpp"
#include "run_binary.hpp"
#include "tests/support/page_data.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;
using e2e::readFile;
using e2e::runConverter;
using l2v::testing::valueAt;

namespace {

const fs::path kExamples = EXAMPLES_DIR;
using l2v::page::kSizedFlag;

// Every "radius" and "height" value of a per-element VRML scene, in file order.
std::vector<double> vrmlSizes(const std::string& scene) {
    std::vector<double> sizes;
    std::istringstream lines(scene);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of(' ');
        for (const std::string field : {"radius ", "height "}) {
            if (start != std::string::npos && line.compare(start, field.size(), field) == 0) {
                sizes.push_back(std::stod(line.substr(start + field.size())));
            }
        }
    }
    return sizes;
}

class SizeOption : public ::testing::Test {
  protected:
    e2e::RunResult run(const std::string& outputName, const std::vector<std::string>& options,
                       const fs::path& layout = kExamples / "lesmis.3dlayout") {
        std::vector<std::string> arguments = {"-in", layout.string(), "-out", outputName};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runConverter(arguments, scratch.path());
    }
    std::string convert(const std::string& outputName, const std::vector<std::string>& options,
                        const fs::path& layout = kExamples / "lesmis.3dlayout") {
        const e2e::RunResult result = run(outputName, options, layout);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.output + result.errors, "");
        return readFile(scratch / outputName);
    }
    std::string pageData(const std::string& outputName, const std::vector<std::string>& options) {
        return l2v::testing::pageData(convert(outputName, options)).value_or("");
    }

    e2e::ScratchDirectory scratch;
};

} // namespace

TEST_F(SizeOption, RefusesAnythingButAutoOrAFactorInRangeAndWritesNothing) {
    e2e::writeFile(scratch / "kept.wrl", "earlier scene");
    for (const std::string value : {"0", "-2", "nan", "inf", "1e999", "1e-999", "1e-6", "large", "",
                                    "1000001", "0.5x", "AUTO"}) {
        for (const std::string name : {"new.wrl", "new.glb", "new.html", "kept.wrl"}) {
            SCOPED_TRACE(testing::Message() << value << " into " << name);
            const e2e::RunResult result = run(name, {"-size", value});
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.output, "-size \"" + value +
                                         "\" is neither auto nor a number from 0.00001 to "
                                         "1000000.\n");
            EXPECT_EQ(result.errors, "");
        }
    }
    EXPECT_EQ(e2e::entriesOf(scratch.path()), std::vector<std::string>{"kept.wrl"});
    EXPECT_EQ(readFile(scratch / "kept.wrl"), "earlier scene");
}

// A factor of 1 is the fitted sizes: the scene of no -size, byte for byte, in VRML and glTF,
// per element and merged; a page tells it was asked for.
TEST_F(SizeOption, FactorOneWritesTheBytesOfNoSize) {
    for (const std::string name : {"a.wrl", "a.glb"}) {
        for (const std::string merge : {"false", "true"}) {
            SCOPED_TRACE(testing::Message() << name << " merged " << merge);
            EXPECT_EQ(convert(name, {"-merge", merge, "-size", "1"}),
                      convert(name, {"-merge", merge}));
        }
    }
    const std::string plain = pageData("plain.html", {});
    const std::string one = pageData("one.html", {"-size", "1"});
    ASSERT_EQ(plain.size(), one.size());
    EXPECT_EQ(valueAt<std::uint32_t>(plain, 16) & kSizedFlag, 0U);
    EXPECT_EQ(valueAt<std::uint32_t>(plain, 20), 0U) << "the header's last word stays 0";
    EXPECT_EQ(valueAt<std::uint32_t>(one, 16), valueAt<std::uint32_t>(plain, 16) | kSizedFlag);
    EXPECT_EQ(valueAt<float>(one, 20), 1.0F);
    EXPECT_EQ(one.substr(24), plain.substr(24));
}

// Every sphere and cylinder radius is the factor times the fitted one, and each cylinder is
// shorter than its edge by the scaled sphere diameter, so it still runs between the spheres.
TEST_F(SizeOption, FactorScalesEveryRadiusAndTheCylindersShortening) {
    const fs::path layout = kExamples / "karate.3dlayout";
    const std::vector<double> fitted = vrmlSizes(convert("fitted.wrl", {}, layout));
    const std::vector<double> half = vrmlSizes(convert("half.wrl", {"-size", "0.5"}, layout));
    ASSERT_EQ(fitted.size(), 34U + 2 * 78U);
    ASSERT_EQ(half.size(), fitted.size());
    for (std::size_t k = 0; k < 34; ++k) {
        EXPECT_NEAR(half[k], fitted[k] / 2, 1e-6) << "sphere " << k;
    }
    for (std::size_t k = 34; k < fitted.size(); k += 2) {
        const double edgeLength = fitted[k] + 0.4;
        EXPECT_NEAR(half[k], edgeLength - 0.2, 2e-6) << "height of cylinder " << (k - 34) / 2;
        EXPECT_NEAR(half[k + 1], 0.05, 1e-9) << "radius of cylinder " << (k - 34) / 2;
    }
}

// The last -size counts, whatever came before it.
TEST_F(SizeOption, LaterSizeOverridesAnEarlierOne) {
    const std::string automatic = convert("auto.wrl", {"-size", "auto"});
    const std::string factor = convert("factor.wrl", {"-size", "0.25"});
    EXPECT_NE(automatic, factor);
    EXPECT_EQ(convert("a.wrl", {"-size", "0.25", "-size", "auto"}), automatic);
    EXPECT_EQ(convert("b.wrl", {"-size", "auto", "-sizes", "0.25"}), factor);
    EXPECT_EQ(convert("c.wrl", {"-size", "oops", "-size", "0.25"}), factor);
}

// The page carries the factor the VRML and glTF scenes were scaled by; for auto, the one the
// converter worked out (lesmis: the median sphere 0.69 times as wide as it would hide edges).
TEST_F(SizeOption, PageCarriesTheFactorOfEveryFormat) {
    const std::string data = pageData("auto.html", {"-size", "auto"});
    EXPECT_NE(valueAt<std::uint32_t>(data, 16) & kSizedFlag, 0U);
    const auto factor = static_cast<double>(valueAt<float>(data, 20));
    EXPECT_GT(factor, 0.6);
    EXPECT_LT(factor, 0.8);
    const std::vector<double> fitted = vrmlSizes(convert("fitted.wrl", {}));
    const std::vector<double> scaled = vrmlSizes(convert("auto.wrl", {"-size", "auto"}));
    ASSERT_EQ(scaled.size(), fitted.size());
    EXPECT_NEAR(scaled[0] / fitted[0], factor, 1e-5) << "node 0's sphere";
    EXPECT_EQ(valueAt<float>(pageData("factor.html", {"-size", "2.5"}), 20), 2.5F);
}

// A layout whose spheres leave its edges bare already keeps the fitted sizes under auto.
TEST_F(SizeOption, AutoKeepsSizesThatShowTheEdges) {
    const fs::path layout = kExamples / "karate.3dlayout";
    EXPECT_EQ(convert("auto.glb", {"-size", "auto"}, layout), convert("plain.glb", {}, layout));
}

// An edge a millionth as long as the layout is deep would want spheres too small for VRML's six
// decimals: auto stops at the smallest factor a number may ask for.
TEST_F(SizeOption, AutoStopsAtTheSmallestFactor) {
    e2e::writeFile(scratch / "tiny.3dlayout", "3 1\n0 0 0 2\n1e-7 0 0 1\n0 0 1\n");
    const fs::path layout = scratch / "tiny.3dlayout";
    const std::string smallest = convert("smallest.wrl", {"-size", "0.00001"}, layout);
    EXPECT_NE(smallest.find("radius 0.000001"), std::string::npos) << "the cylinder";
    EXPECT_EQ(convert("auto.wrl", {"-size", "auto"}, layout), smallest);
}

TEST_F(SizeOption, UsageNamesTheOptionAndWinsOverABadValue) {
    const e2e::RunResult result = run("x.wrl", {"-size", "0", "-h"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.output.find("-size auto|FACTOR"), std::string::npos);
}
