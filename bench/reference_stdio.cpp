// A plain stdio version of the converter for well-formed input: fgets and atof to read, one
// fprintf per output line through the default stream buffer. The benchmark compares the real
// converter's output with this one byte for byte and reports how much faster it is.
//
// Usage: reference_stdio -in graph.3dlayout [-out scene.wrl] [-showlabel true]
//                        [-showedge false]
// Refuses what it does not read the same way as the converter: lines longer than its buffer,
// neighbour numbers out of range, more references than the header allows. "d" exponents are
// not read.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kExtent = 20.0;
constexpr double kLabelSize = 0.6;
constexpr double kNodeRadius = 0.2;
constexpr double kNodeTransparency = 0.5;
constexpr double kEdgeRadius = 0.1;
constexpr double kEdgeTransparency = 0.5;
const char* const kLabelColour = "0 0 1";
const char* const kNodeColour = "1 0.95 0.7";
const char* const kEdgeColour = "0.5 0.5 1";
const char* const kViewerAddress = "https://castle-engine.io/view3dscene.php";
const char* const kTitle = "Nodescape";
const char* const kInfo = "(VRML output) a graph layout drawn as spheres and cylinders";

struct Options {
    std::string input;
    std::string output;
    bool showEdges = true;
    bool showLabels = false;
};

struct Graph {
    int nodeCount = 0;
    int edgeCount = 0;
    std::vector<int> count;       // run length per node: 1 + references
    std::vector<std::size_t> run; // start of each run in the pool
    std::vector<int> pool;        // slot 0 of a run is the node itself
    std::vector<double> x, y, z;
};

[[noreturn]] void refuse(const char* what) {
    std::printf("%s\n", what);
    std::exit(1);
}

bool startsWith(const char* word, const char* prefix) {
    return std::strncmp(word, prefix, std::strlen(prefix)) == 0;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int at = 0; at + 1 < argc; ++at) {
        const char* word = argv[at];
        const std::string value = argv[at + 1];
        if (startsWith(word, "-in")) {
            options.input = value;
        } else if (startsWith(word, "-out")) {
            options.output = value;
        } else if (startsWith(word, "-showlabel")) {
            options.showLabels = options.showLabels || value == "true";
        } else if (startsWith(word, "-showedge")) {
            options.showEdges = value == "true";
        } else {
            continue;
        }
        ++at;
    }
    const std::size_t dot = options.input.rfind('.');
    if (dot == std::string::npos || options.input.substr(dot) != ".3dlayout") {
        refuse("file type errors. please input 3dlayout file.");
    }
    if (options.output.empty()) {
        options.output = options.input.substr(0, dot) + ".wrl";
    }
    return options;
}

// --- Reading -------------------------------------------------------------------------------

constexpr int kLineCapacity = 1 << 16;
char line[kLineCapacity];

bool readLine(std::FILE* in) {
    if (std::fgets(line, kLineCapacity, in) == nullptr) {
        return false;
    }
    if (std::strchr(line, '\n') == nullptr && !std::feof(in)) {
        refuse("line too long for the reference reader.");
    }
    return true;
}

const char* const kSeparators = ", \t";
const char* const kWhite = " \t\n\r\v\f";

// Where the first piece of the field at `p` starts: leading "/" and "\" skipped.
const char* firstPiece(const char* p) {
    return p + std::strspn(p, "/\\");
}

const char* nextField(const char* p) {
    return p + std::strspn(p, kSeparators);
}

const char* pastField(const char* p) {
    return p + std::strcspn(p, kWhite);
}

bool endsNeighbourList(char c) {
    const auto code = static_cast<unsigned char>(c);
    return c == '\0' || code < 32 || code >= 128;
}

void readNodeLine(Graph& graph, int node, std::size_t& cursor) {
    const char* p = nextField(line);
    double* targets[] = {&graph.x[node], &graph.y[node], &graph.z[node]};
    for (double* target : targets) {
        *target = std::atof(firstPiece(p));
        p = nextField(pastField(p));
    }
    graph.run[node] = cursor;
    graph.pool[cursor++] = node;
    int references = 0;
    while (!endsNeighbourList(*p)) {
        const int number = std::atoi(firstPiece(p));
        if (number > graph.nodeCount || cursor >= graph.pool.size()) {
            refuse("neighbour out of range or too many references.");
        }
        graph.pool[cursor++] = number - 1;
        ++references;
        p = nextField(pastField(p));
    }
    graph.count[node] = references + 1;
}

Graph loadGraph(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (in == nullptr) {
        std::printf("cannot open %s. \n", path.c_str());
        std::exit(1);
    }
    Graph graph;
    do {
        if (!readLine(in)) {
            refuse("no header.");
        }
    } while (line[0] == '%');
    if (std::sscanf(line, "%d %d ", &graph.nodeCount, &graph.edgeCount) != 2 ||
        graph.nodeCount < 1 || graph.edgeCount < 0) {
        refuse("bad header.");
    }
    const auto nodes = static_cast<std::size_t>(graph.nodeCount);
    graph.count.resize(nodes);
    graph.run.resize(nodes);
    graph.pool.resize(nodes + 2 * static_cast<std::size_t>(graph.edgeCount));
    graph.x.resize(nodes);
    graph.y.resize(nodes);
    graph.z.resize(nodes);
    std::size_t cursor = 0;
    for (int node = 0; node < graph.nodeCount; ++node) {
        if (!readLine(in)) {
            refuse("too few node lines.");
        }
        readNodeLine(graph, node, cursor);
    }
    std::fclose(in);
    return graph;
}

// --- Fitting -------------------------------------------------------------------------------

void rangeOf(const std::vector<double>& values, double& minimum, double& maximum) {
    minimum = maximum = values[0];
    for (const double value : values) {
        minimum = value < minimum ? value : minimum;
        maximum = value > maximum ? value : maximum;
    }
}

void fit(Graph& graph) {
    std::vector<double>* axes[] = {&graph.x, &graph.y, &graph.z};
    double minimum[3];
    double maximum[3];
    for (int a = 0; a < 3; ++a) {
        rangeOf(*axes[a], minimum[a], maximum[a]);
    }
    double divisor = maximum[2] - minimum[2];
    if (divisor == 0.0) {
        divisor = std::fmax(maximum[0] - minimum[0], maximum[1] - minimum[1]);
    }
    for (int a = 0; a < 3; ++a) {
        for (double& value : *axes[a]) {
            value = divisor == 0.0 ? 0.0 : (value - minimum[a]) * kExtent / divisor;
        }
    }
    for (std::vector<double>* axis : axes) {
        double sum = 0.0;
        for (const double value : *axis) {
            sum += value;
        }
        const double mean = sum / static_cast<double>(graph.nodeCount);
        for (double& value : *axis) {
            value -= mean;
        }
    }
}

// --- Writing -------------------------------------------------------------------------------

// "%f" writes a negative zero as -0.000000; the scene never shows a signed zero.
double unsignedZero(double value) {
    return value == 0.0 ? 0.0 : value;
}

void writeFrameStart(std::FILE* out) {
    std::fprintf(out, "#VRML V2.0 utf8\n");
    std::fprintf(out, "#Please view this file in a VRML viewer.\n");
    std::fprintf(out, "#You can obtain a free one from %s\n", kViewerAddress);
    std::fprintf(out, "WorldInfo {\n");
    std::fprintf(out, "    title \" %s \"\n", kTitle);
    std::fprintf(out, "    info \" %s \"\n", kInfo);
    std::fprintf(out, "}\n");
    std::fprintf(out, "Viewpoint {\n");
    std::fprintf(out, "    description \"home\"\n");
    std::fprintf(out, "    position 0.0 0.0 %f\n", kExtent);
    std::fprintf(out, "}\n");
    std::fprintf(out, "Background {\n");
    std::fprintf(out, "    skyColor %s\n", "0 0 0");
    std::fprintf(out, "}\n");
}

void writeLabel(std::FILE* out, int node) {
    std::fprintf(out, "        Shape {\n");
    std::fprintf(out, "            appearance Appearance {\n");
    std::fprintf(out, "                material Material {\n");
    std::fprintf(out, "                    diffuseColor %s\n", kLabelColour);
    std::fprintf(out, "                }\n");
    std::fprintf(out, "            }\n");
    std::fprintf(out, "            geometry Text {\n");
    std::fprintf(out, "                string [ \"%d\" ]\n", node);
    std::fprintf(out, "                fontStyle FontStyle {\n");
    std::fprintf(out, "                    size %f\n", kLabelSize);
    std::fprintf(out, "                }\n");
    std::fprintf(out, "            }\n");
    std::fprintf(out, "        }\n");
}

void writeNode(std::FILE* out, const Graph& graph, int node, bool showLabels) {
    std::fprintf(out, "Transform {\n");
    std::fprintf(out, "    translation %f %f %f\n", unsignedZero(graph.x[node]),
                 unsignedZero(graph.y[node]), unsignedZero(graph.z[node]));
    std::fprintf(out, "    children [\n");
    if (showLabels) {
        writeLabel(out, node);
    }
    std::fprintf(out, "        Shape {\n");
    std::fprintf(out, "            appearance Appearance {\n");
    std::fprintf(out, "                material Material {\n");
    std::fprintf(out, "                    diffuseColor %s\n", kNodeColour);
    std::fprintf(out, "                    transparency %f\n", kNodeTransparency);
    std::fprintf(out, "                }\n");
    std::fprintf(out, "            }\n");
    std::fprintf(out, "            geometry Sphere {\n");
    std::fprintf(out, "                radius %f\n",
                 std::sqrt(static_cast<double>(graph.count[node])) * kNodeRadius);
    std::fprintf(out, "            }\n");
    std::fprintf(out, "        }\n");
    std::fprintf(out, "    ]\n");
    std::fprintf(out, "}\n");
}

struct Turn {
    double axisY, axisZ, tilt, swing;
};

// Edges along x turn a quarter about z; coincident endpoints leave the cylinder unturned.
Turn turnFor(double dx, double dy, double dz, double length) {
    if (length == 0.0) {
        return {0.0, 1.0, 0.0, 0.0};
    }
    const double swing = std::asin(std::fmin(1.0, std::fmax(-1.0, dx / length)));
    if (dy == 0.0 && dz == 0.0) {
        return {0.0, 1.0, 0.0, swing};
    }
    const double tilt = -std::atan2(-(dz / dy), 1.0);
    // An axis shorter than the written precision would lose its direction: scale it up.
    const double longer = std::fmax(std::fabs(dy), std::fabs(dz));
    if (longer < 1e-3) {
        return {dz / longer, -dy / longer, tilt, swing};
    }
    return {dz, -dy, tilt, swing};
}

void writeEdge(std::FILE* out, const Graph& graph, int i, int j) {
    const double mx = (graph.x[i] + graph.x[j]) * 0.5;
    const double my = (graph.y[j] + graph.y[i]) * 0.5;
    const double mz = (graph.z[i] + graph.z[j]) * 0.5;
    const double dx = graph.x[j] - graph.x[i];
    const double dy = graph.y[j] - graph.y[i];
    const double dz = graph.z[j] - graph.z[i];
    const double length = std::sqrt(dz * dz + dy * dy + dx * dx);
    const Turn turn = turnFor(dx, dy, dz, length);
    std::fprintf(out, "Transform {\n");
    std::fprintf(out, "    rotation 0 %f %f %f\n", unsignedZero(turn.axisY),
                 unsignedZero(turn.axisZ), unsignedZero(turn.swing));
    std::fprintf(out, "    translation %f %f %f\n", unsignedZero(mx), unsignedZero(my),
                 unsignedZero(mz));
    std::fprintf(out, "    children [\n");
    std::fprintf(out, "        Transform {\n");
    std::fprintf(out, "            rotation 1 0 0 %f\n", unsignedZero(turn.tilt));
    std::fprintf(out, "            children [\n");
    std::fprintf(out, "                Shape {\n");
    std::fprintf(out, "                    appearance Appearance {\n");
    std::fprintf(out, "                        material Material {\n");
    std::fprintf(out, "                            diffuseColor %s\n", kEdgeColour);
    std::fprintf(out, "                            transparency %f\n", kEdgeTransparency);
    std::fprintf(out, "                        }\n");
    std::fprintf(out, "                    }\n");
    std::fprintf(out, "                    geometry Cylinder {\n");
    std::fprintf(out, "                        height %f\n",
                 unsignedZero(length - 2.0 * kNodeRadius));
    std::fprintf(out, "                        radius %f\n", kEdgeRadius);
    std::fprintf(out, "                    }\n");
    std::fprintf(out, "                }\n");
    std::fprintf(out, "            ]\n");
    std::fprintf(out, "        }\n");
    std::fprintf(out, "    ]\n");
    std::fprintf(out, "}\n");
}

void writeScene(const Graph& graph, const Options& options) {
    std::FILE* out = std::fopen(options.output.c_str(), "w");
    if (out == nullptr) {
        refuse("can not create vrml file.");
    }
    writeFrameStart(out);
    for (int node = 0; node < graph.nodeCount; ++node) {
        writeNode(out, graph, node, options.showLabels);
    }
    if (options.showEdges) {
        for (int i = 0; i < graph.nodeCount; ++i) {
            for (int k = 1; k < graph.count[i]; ++k) {
                const int j = graph.pool[graph.run[i] + static_cast<std::size_t>(k)];
                if (j > i) {
                    writeEdge(out, graph, i, j);
                }
            }
        }
    }
    std::fprintf(out, "\n");
    std::fprintf(out, "# End of file!\n");
    if (std::fclose(out) != 0) {
        refuse("can not write vrml file.");
    }
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    Graph graph = loadGraph(options.input);
    fit(graph);
    writeScene(graph, options);
    return 0;
}
