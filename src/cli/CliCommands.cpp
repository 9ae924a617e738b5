#include "cli/CliCommands.h"

#include "cli/CliLibrary.h"
#include "control/FloralDiagram.h"
#include "control/FloralDiagramSvg.h"
#include "control/GltfImages.h"
#include "library/LibraryReaders.h"
#include "model/ReadContext.h"
#include "organs/FloralFormula.h"
#include "organs/FlowerTorusNode.h"
#include "organs/ModelledBud.h"
#include "organs/ObjWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

namespace {

constexpr int kLargestSide = 8192;
constexpr int kMostSamples = 16;
// Far beyond any turn a person types, near enough that the angle keeps its precision.
constexpr double kMostTurn = 1e6;

// The whole text as one number (a double also takes "inf" and "nan").
template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

bool parseInt(const std::string& text, int& value) {
    return parseNumber(text, value);
}

// A finite number of degrees, at most `limit` either way.
bool parseDegrees(const std::string& text, double limit, double& value) {
    return parseNumber(text, value) && std::isfinite(value) && std::abs(value) <= limit;
}

// "WxH" with both sides between 1 and kLargestSide.
bool parseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find('x');
    return x != std::string::npos && parseInt(text.substr(0, x), width) &&
           parseInt(text.substr(x + 1), height) && width > 0 && height > 0 &&
           width <= kLargestSide && height <= kLargestSide;
}

// What a command reads with: a fresh id counter, so that ids count from 1 in file
// order, the built-in parameter values, and the texture cache main() provides.
struct CliSession {
    IdCounter ids;
    Parameters parameters;
    TextureCache* textures = nullptr;
};

int fail(std::ostream& err, const std::string& message) {
    err << "pelmora-cli: " << message << "\n";
    return 1;
}

// Loads the whole library; false (after reporting) when the file is missing or
// does not read to its end.
bool load(const std::string& path, CliSession& session, CliLibrary& library, std::ostream& err) {
    const ReadContext context{session.ids, session.parameters, session.textures, {}};
    const LibraryLoadResult result = loadLibraryFile(path, libraryReaders(), context, library);
    if (result.ok())
        return true;
    fail(err, path + ": " + result.message);
    return false;
}

const CliEntry* findEntry(const CliLibrary& library, const std::string& idText, std::ostream& err) {
    int id = 0;
    if (!parseInt(idText, id)) {
        fail(err, "'" + idText + "' is not an object id");
        return nullptr;
    }
    const CliEntry* entry = library.find(id);
    if (!entry)
        fail(err, "the library has no entry with id " + idText);
    return entry;
}

// Loads the library and hands the entry with that id to `write`, which writes
// something from it or sets its error; the command's exit status.
template <typename Write>
int writeEntry(const std::string& path, const std::string& idText, CliSession& session,
               std::ostream& err, Write&& write) {
    CliLibrary library;
    if (!load(path, session, library, err))
        return 1;
    const CliEntry* entry = findEntry(library, idText, err);
    if (!entry)
        return 1;
    std::string error;
    if (!write(*entry, error))
        return fail(err, error);
    return 0;
}

int info(const std::string& path, bool formulas, CliSession& session, std::ostream& out,
         std::ostream& err) {
    CliLibrary library;
    if (!load(path, session, library, err))
        return 1;
    for (const CliEntry& entry : library.entries()) {
        out << entry.category << ' ' << entry.id() << ' ' << entry.keyword();
        if (const FlowerTorusNode* torus = asTorus(entry.object.get()); formulas && torus)
            out << ' ' << floralFormula(*torus);
        out << '\n';
    }
    return 0;
}

int diagram(const std::string& path, const std::string& idText, const std::string& target,
            CliSession& session, std::ostream& err) {
    return writeEntry(path, idText, session, err, [&](const CliEntry& entry, std::string& error) {
        const FlowerTorusNode* torus = asTorus(entry.object.get());
        if (!torus) {
            error = "entry " + std::to_string(entry.id()) + " is not a flower head";
            return false;
        }
        return writeFloralDiagramSvg(*torus, target, error);
    });
}

int resave(const std::string& path, const std::string& target, CliSession& session,
           std::ostream& err) {
    CliLibrary library;
    if (!load(path, session, library, err))
        return 1;
    std::string error;
    if (!saveLibraryFile(target, library.contents(), session.textures, error))
        return fail(err, error);
    return 0;
}

int exportObj(const std::string& path, const std::string& idText, const std::string& target,
              bool singleSurfaces, CliSession& session, std::ostream& err) {
    return writeEntry(path, idText, session, err, [&](const CliEntry& entry, std::string& error) {
        return exportObjFiles(entry.node(), target, singleSurfaces, session.textures, error);
    });
}

// export-gltf's arguments: the three, then nothing or "--animate SECONDS".
int exportGltf(const std::vector<std::string>& args, CliSession& session, std::ostream& err) {
    GltfBloom bloom;
    if (args.size() == 6) {
        if (args[4] != "--animate")
            return fail(err, "export-gltf does not know '" + args[4] + "'; see pelmora-cli --help");
        if (!parseNumber(args[5], bloom.seconds) || !(bloom.seconds > 0.0 && bloom.seconds <= 3600.0))
            return fail(err, "--animate takes a number of seconds above 0 and up to 3600, not '" +
                                 args[5] + "'");
    }
    return writeEntry(args[1], args[2], session, err,
                      [&](const CliEntry& entry, std::string& error) {
                          return exportGltfFile(entry.node(), args[3], gltfImageFromFile,
                                                session.textures, error, nullptr, bloom);
                      });
}

// A new flower head with the whorls of the formula, laid out as the floral diagram
// lays out a new flower's rings, its petal slots filled with copies of the petal
// with id `petalText` when one is given; added to the library, which is written to
// `target`.
int formulaFlower(const std::string& path, const std::string& formula, const std::string& target,
                  const std::string* petalText, CliSession& session, std::ostream& err) {
    const FormulaReading reading =
        readFloralFormula(formula, FloralDiagramSettings::kLargestCount);
    if (!reading.ok())
        return fail(err, "'" + formula + "': " + reading.error);
    CliLibrary library;
    if (!load(path, session, library, err))
        return 1;
    const FlowerObjectNode* petal = nullptr;
    if (petalText) {
        const CliEntry* entry = findEntry(library, *petalText, err);
        if (!entry)
            return 1;
        petal = entry->object.get();
        if (!petal || petal->kind != kKindPetal)
            return fail(err, "entry " + *petalText + " is not a petal");
    }
    auto flower =
        std::make_unique<FlowerTorusNode>(session.ids.nextId(), session.parameters.receptacle);
    FloralDiagram diagram;
    diagram.setLookup([&flower](int id) { return id == flower->id ? flower.get() : nullptr; });
    diagram.bind(flower.get());
    diagram.applyFormula(reading.whorls);
    if (petal)
        for (const auto& slot : flower->whorl(kWhorlPetal).parts)
            slot->object = petal->clone(session.ids);
    library.addObject(std::move(flower), kCategoryFlower);
    std::string error;
    if (!saveLibraryFile(target, library.contents(), session.textures, error))
        return fail(err, error);
    return 0;
}

// The flower head `flowerText` of the library opens from a copy of the flower head
// `budText`, as "Import Animated Flower..." makes it; the library goes to `target`.
int budFlower(const std::string& path, const std::string& flowerText, const std::string& budText,
              const std::string& target, CliSession& session, std::ostream& err) {
    CliLibrary library;
    if (!load(path, session, library, err))
        return 1;
    const CliEntry* flowerEntry = findEntry(library, flowerText, err);
    const CliEntry* budEntry = flowerEntry ? findEntry(library, budText, err) : nullptr;
    if (!budEntry)
        return 1;
    FlowerTorusNode* flower = asTorus(flowerEntry->object.get());
    const FlowerTorusNode* bud = asTorus(budEntry->object.get());
    if (!flower || !bud)
        return fail(err, "entry " + (flower ? budText : flowerText) + " is not a flower head");
    const std::string message = ModelledBud::give(*flower, *bud, session.ids);
    if (!message.empty())
        return fail(err, message);
    std::string error;
    if (!saveLibraryFile(target, library.contents(), session.textures, error))
        return fail(err, error);
    return 0;
}

// The options after render's three arguments, each at most once; false (after
// reporting) for an unknown, repeated or missing option or a value out of range.
bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::ostream& err) {
    std::vector<std::string> seen;
    for (size_t i = 4; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (option != "--size" && option != "--turn" && option != "--elevation" &&
            option != "--samples" && option != "--time") {
            fail(err, "render does not know '" + option + "'; see pelmora-cli --help");
            return false;
        }
        if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
            fail(err, option + " is given twice");
            return false;
        }
        seen.push_back(option);
        if (i + 1 == args.size()) {
            fail(err, option + " needs a value; see pelmora-cli --help");
            return false;
        }
        const std::string& value = args[i + 1];
        std::string wanted;
        if (option == "--size" && !parseSize(value, options.width, options.height))
            wanted = "WxH, each side from 1 to 8192";
        else if (option == "--turn" && !parseDegrees(value, kMostTurn, options.turn))
            wanted = "a number of degrees";
        else if (option == "--elevation" && !parseDegrees(value, 90.0, options.elevation))
            wanted = "degrees from -90 to 90";
        else if (option == "--samples" &&
                 !(parseInt(value, options.samples) && options.samples >= 1 &&
                   options.samples <= kMostSamples))
            wanted = "a whole number from 1 to 16";
        else if (option == "--time" &&
                 !(parseNumber(value, options.time) && options.time >= 0.0 && options.time <= 1.0))
            wanted = "a time from 0 (the bud) to 1 (the flower as modelled)";
        if (!wanted.empty()) {
            fail(err, option + " takes " + wanted + ", not '" + value + "'");
            return false;
        }
    }
    return true;
}

int render(const std::vector<std::string>& args, CliSession& session, std::ostream& err,
           CliRenderer renderer) {
    if (args.size() < 4)
        return fail(err, "render takes LIBRARY.pmr ID OUT.png [--size WxH] [--turn DEGREES] "
                         "[--elevation DEGREES] [--samples N] [--time T]");
    RenderOptions options;
    if (!parseRenderOptions(args, options, err))
        return 1;
    if (!renderer)
        return fail(err, "this build cannot render");
    return writeEntry(args[1], args[2], session, err,
                      [&](const CliEntry& entry, std::string& error) {
                          return renderer(entry, session.textures, args[3], options, error);
                      });
}

} // namespace

const char* cliUsage() {
    return "usage: pelmora-cli COMMAND ...\n"
           "\n"
           "  info LIBRARY.pmr [--formula]\n"
           "      One line per top-level entry in file order: CATEGORY ID KEYWORD, where\n"
           "      CATEGORY is 0 scene, 1 primitive, 2 leaf, 3 flower, 4 composite and ID is\n"
           "      the id the entry gets when the library is loaded (counting from 1).\n"
           "      With --formula a flower head's line ends in its floral formula\n"
           "      (\"K5 C5 A\u221e G1\": sepals, petals, stamens, pistils).\n"
           "  formula-flower LIBRARY.pmr FORMULA OUT.pmr [--petal ID]\n"
           "      Writes the library to OUT.pmr with one more flower head, whose whorls\n"
           "      the floral formula sets as the floral diagram dialog does: \"K5 C5 A10\n"
           "      G1\", counts up to 1000, \"\u221e\" or \"inf\" for an indefinite whorl.\n"
           "      With --petal its petal slots hold copies of the petal with that id.\n"
           "  bud-flower LIBRARY.pmr FLOWER_ID BUD_ID OUT.pmr\n"
           "      Writes the library to OUT.pmr with the flower head FLOWER_ID opening from\n"
           "      a copy of the flower head BUD_ID, as \"Import Animated Flower...\" makes it:\n"
           "      each organ moves and changes shape from the bud to the flower. Both need\n"
           "      the same slots, filled alike.\n"
           "  resave LIBRARY.pmr OUT.pmr\n"
           "      Loads the library and writes it again as Save does.\n"
           "  export-obj LIBRARY.pmr ID OUT [--single]\n"
           "      Writes the entry with that id as Wavefront OBJ and MTL, as \"Save focusing\n"
           "      object as OBJ\" does: OUT.obj and OUT.mtl, or OUT and OUT's title plus .mtl\n"
           "      when OUT already ends in .obj; the texture images the materials use are\n"
           "      copied beside them. Every surface comes as a front and a back copy; with\n"
           "      --single only the front one, for renderers that show both.\n"
           "  export-gltf LIBRARY.pmr ID OUT [--animate SECONDS]\n"
           "      Writes the entry with that id as glTF 2.0, as \"Save focusing object as\n"
           "      glTF\" does: one binary OUT.glb (OUT when it already ends in .glb), or,\n"
           "      for OUT ending in .gltf, OUT with its buffer (.bin) and texture images\n"
           "      beside it. Plants, flower heads and their slots stay nodes; alike organs\n"
           "      share one mesh. --animate adds the animation \"bloom\" of that many\n"
           "      seconds: every flower opens from its bud whorl by whorl, a plant's\n"
           "      flowers from the bottom up.\n"
           "  diagram LIBRARY.pmr ID OUT.svg\n"
           "      Writes the floral diagram of the flower head with that id as an SVG\n"
           "      picture, its floral formula as the caption.\n"
           "  render LIBRARY.pmr ID OUT.png [--size WxH] [--turn DEGREES]\n"
           "         [--elevation DEGREES] [--samples N] [--time T]\n"
           "      Draws the entry as the main view shows a work object (home camera, lights,\n"
           "      floor; 1000x800 unless --size says otherwise) and writes a PNG. --turn\n"
           "      turns the object about the vertical axis through the middle of the view,\n"
           "      counter-clockwise seen from above (180 shows its back); --elevation, from\n"
           "      -90 to 90, looks at it from that many degrees higher (lower when negative);\n"
           "      the lights stay with the camera, so a series of turns makes a turnaround\n"
           "      sheet. --samples (1 to 16, 4 unless given) smooths the edges with that many\n"
           "      samples per pixel where the OpenGL driver can, up to its limit; 1 turns\n"
           "      the smoothing off. --time, from 0 to 1, shows the flowers at that moment\n"
           "      of their bloom (0 the buds, 1 unless given: as modelled). It needs an X\n"
           "      server; without a screen run it as:\n"
           "      xvfb-run -a pelmora-cli render ...\n"
           "  --help\n"
           "      This text.\n"
           "  --version\n"
           "      The version of pelmora-cli.\n"
           "  --verbose\n"
           "      Given anywhere, writes diagnostic messages for developers on the\n"
           "      standard error stream as the command runs.\n"
           "\n"
           "The exit status is 0 on success. A missing or malformed file, an unknown id or\n"
           "an output that cannot be written ends with a one-line message and status 1.\n"
           "A texture image that cannot be read is named in one line and the command\n"
           "goes on without it.\n";
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           CliRenderer renderer, TextureCache* textures) {
    if (args.empty())
        return fail(err, "no command given; see pelmora-cli --help");
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        out << cliUsage();
        return 0;
    }
    if (command == "--version") {
        out << "pelmora-cli " PELMORA_VERSION "\n";
        return 0;
    }
    CliSession session;
    session.textures = textures;
    if (command == "info" && (args.size() == 2 || (args.size() == 3 && args[2] == "--formula")))
        return info(args[1], args.size() == 3, session, out, err);
    if (command == "export-gltf" && (args.size() == 4 || args.size() == 6))
        return exportGltf(args, session, err);
    if (command == "diagram" && args.size() == 4)
        return diagram(args[1], args[2], args[3], session, err);
    if (command == "formula-flower" && args.size() == 4)
        return formulaFlower(args[1], args[2], args[3], nullptr, session, err);
    if (command == "formula-flower" && args.size() == 6 && args[4] == "--petal")
        return formulaFlower(args[1], args[2], args[3], &args[5], session, err);
    if (command == "bud-flower" && args.size() == 5)
        return budFlower(args[1], args[2], args[3], args[4], session, err);
    if (command == "resave" && args.size() == 3)
        return resave(args[1], args[2], session, err);
    if (command == "export-obj" &&
        (args.size() == 4 || (args.size() == 5 && args[4] == "--single")))
        return exportObj(args[1], args[2], args[3], args.size() == 5, session, err);
    if (command == "render")
        return render(args, session, err, renderer);
    if (command == "info" || command == "resave" || command == "export-obj" ||
        command == "export-gltf" || command == "diagram" || command == "formula-flower" ||
        command == "bud-flower")
        return fail(err, "wrong arguments for " + command + "; see pelmora-cli --help");
    return fail(err, "unknown command '" + command + "'; see pelmora-cli --help");
}
