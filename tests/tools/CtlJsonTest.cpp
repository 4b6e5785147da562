// zr470ctl --json as a script reads it: every command prints JSON that
// parses, one object a line, with the fields and types the man page gives.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "CtlJson.h"
#include "CtlMain.h"
#include "RoomFixture.h"

namespace fs = std::filesystem;

namespace {

// A field's type; Nullable: a number or null.
enum class Kind { Number, String, Bool, Array, Object, Null, Nullable, Any };
using Shape = std::map<std::string, Kind>;

bool Is(const Json& object, const std::string& strKey, Kind kind)
{
    if (!object.contains(strKey))
        return false;
    const Json& value = object.at(strKey);
    switch (kind) {
    case Kind::Number: return value.is_number();
    case Kind::String: return value.is_string();
    case Kind::Bool: return value.is_boolean();
    case Kind::Array: return value.is_array();
    case Kind::Object: return value.is_object();
    case Kind::Null: return value.is_null();
    case Kind::Nullable: return value.is_null() || value.is_number();
    case Kind::Any: return true;
    }
    return false;
}

// Exactly these fields, each of its kind.
void ExpectShape(const Json& object, const Shape& shape, const std::string& strWhat)
{
    ASSERT_TRUE(object.is_object()) << strWhat;
    EXPECT_EQ(object.size(), shape.size()) << strWhat << ": " << object.dump();
    for (const auto& [strKey, kind] : shape)
        EXPECT_TRUE(Is(object, strKey, kind)) << strWhat << ": field " << strKey;
}

// The lines of a command's output, each parsed as JSON (null when one is not).
std::vector<Json> ParsedLines(const std::string& strOut)
{
    std::vector<Json> values;
    std::istringstream lines(strOut);
    for (std::string strLine; std::getline(lines, strLine);)
        values.push_back(Json::parse(strLine, nullptr, false));
    return values;
}

const Shape kBand = {{"band", Kind::Number},   {"type", Kind::String},     {"freq_hz", Kind::Number},
                     {"gain_db", Kind::Number}, {"q", Kind::Nullable}, {"slope_db_oct", Kind::Nullable}};

}  // namespace

class CtlJsonTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_dir); }
    void TearDown() override { fs::remove_all(m_dir); }

    // The lines the command printed, each parsed as one JSON object.
    std::vector<Json> Lines(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--device", "virtual", "--json"});
        std::ostringstream out;
        std::ostringstream err;
        const std::atomic<bool> bStop{false};
        EXPECT_EQ(RunCtl(args, nullptr, out, err, bStop), 0) << args[3] << ": " << err.str();
        const std::vector<Json> objects = ParsedLines(out.str());
        for (const Json& object : objects)
            EXPECT_TRUE(object.is_object()) << args[3] << ": " << out.str().substr(0, 200);
        EXPECT_FALSE(objects.empty()) << args[3];
        return objects;
    }
    Json One(const std::vector<std::string>& args)
    {
        const std::vector<Json> objects = Lines(args);
        EXPECT_EQ(objects.size(), 1u) << args[0];
        return objects.empty() ? Json() : objects.front();
    }
    std::string File(const char* pName) const { return (m_dir / pName).string(); }

    fs::path m_dir = fs::temp_directory_path() / ("zr470ctl-json-" + std::to_string(getpid()));
};

TEST_F(CtlJsonTest, EveryCommandPrintsTheDocumentedLayout)
{
    Json info = One({"info"});
    ExpectShape(info, {{"identification", Kind::String}, {"variant", Kind::Number}, {"device", Kind::String},
                       {"scene", Kind::String}, {"programs", Kind::Array}, {"outputs", Kind::Array}},
                "info");
    ExpectShape(info["programs"][0], {{"number", Kind::Number}, {"name", Kind::String}},
                "info programs");
    ExpectShape(info["outputs"][0],
                {{"channel", Kind::Number}, {"name", Kind::String}, {"level", Kind::Number}, {"mute", Kind::Bool}},
                "info outputs");

    ExpectShape(One({"set", "1", "level", "-3"}),
                {{"channel", Kind::Number}, {"param", Kind::String}, {"value", Kind::Number}}, "set");
    ExpectShape(One({"get", "1", "mute"}), {{"channel", Kind::Number}, {"param", Kind::String}, {"value", Kind::Bool}},
                "get mute");
    ExpectShape(One({"get", "1", "hpf.type"}),
                {{"channel", Kind::Number}, {"param", Kind::String}, {"value", Kind::String}}, "get hpf.type");

    for (const auto& args : std::vector<std::vector<std::string>>{{"read-scene", File("a.ZR4C")},
                                                                  {"write-scene", File("a.ZR4C")},
                                                                  {"backup", File("b.ZR4AC")},
                                                                  {"restore", File("b.ZR4AC")}})
        ExpectShape(One(args), {{"file", Kind::String}}, args[0]);
    ExpectShape(One({"store", "2", "Hall"}), {{"program", Kind::Number}, {"name", Kind::String}}, "store");
    ExpectShape(One({"recall", "2"}), {{"program", Kind::Number}, {"name", Kind::String}}, "recall");
    ExpectShape(One({"delete", "2"}), {{"program", Kind::Number}, {"deleted", Kind::String}}, "delete");

    Json response = One({"response", File("a.ZR4C"), "1"});
    ExpectShape(response, {{"channel", Kind::Number}, {"points", Kind::Array}}, "response");
    EXPECT_EQ(response["points"].size(), 241u);
    EXPECT_TRUE(response["points"][0][1].is_number());

    Json imported = One({"eq-import", "1", RoomFixture("apo.txt"), "--link", "2"});
    ExpectShape(imported,
                {{"channel", Kind::Number}, {"mode", Kind::String}, {"bands", Kind::Array}, {"notes", Kind::Array},
                 {"linked", Kind::Array}, {"dry_run", Kind::Bool}},
                "eq-import");
    ExpectShape(imported["bands"][0], kBand, "eq-import band");
    Json exported = One({"eq-export", "1"});
    ExpectShape(exported, {{"channel", Kind::Number}, {"format", Kind::String}, {"bands", Kind::Array}}, "eq-export");
    EXPECT_EQ(exported["bands"].size(), imported["bands"].size());
    ExpectShape(exported["bands"][0], kBand, "eq-export band");

    Json fitted = One({"eq-fit", "1", RoomFixture("rew_measurement.txt"), "--dry-run"});
    ExpectShape(fitted,
                {{"bands", Kind::Array}, {"before_rms_db", Kind::Number}, {"after_rms_db", Kind::Number},
                 {"after_max_db", Kind::Number}, {"range_hz", Kind::Array}},
                "eq-fit");
    ExpectShape(fitted["bands"][0],
                {{"band", Kind::Number}, {"freq_hz", Kind::Number}, {"gain_db", Kind::Number}, {"bw_oct", Kind::Number},
                 {"q", Kind::Number}},
                "eq-fit band");

    Json report = One({"report", "--from", File("a.ZR4C")});
    ExpectShape(report, {{"columns", Kind::Array}, {"rows", Kind::Array}}, "report");
    EXPECT_TRUE(report["rows"][0][0].is_string());

    ExpectShape(One({"demo"}),
                {{"channel", Kind::Number}, {"settings", Kind::String}, {"frames", Kind::Array}, {"points", Kind::Array}},
                "demo");

    std::ofstream(File("script.txt")) << "get 1 level\nrecall 11\n";
    const std::vector<Json> lines = [&] {
        std::ostringstream out;
        std::ostringstream err;
        const std::atomic<bool> bStop{false};
        EXPECT_EQ(RunCtl({"--device", "virtual", "--json", "batch", File("script.txt"), "--keep-going"}, nullptr, out,
                         err, bStop),
                  1);
        return ParsedLines(out.str());
    }();
    ASSERT_EQ(lines.size(), 2u);
    ExpectShape(lines[0], {{"line", Kind::Number}, {"exit", Kind::Number}, {"result", Kind::Object}, {"error", Kind::Null}},
                "batch line");
    ExpectShape(lines[1], {{"line", Kind::Number}, {"exit", Kind::Number}, {"result", Kind::Null}, {"error", Kind::String}},
                "batch failure");
}

TEST_F(CtlJsonTest, FirmwarePrintsItsProgressAndTheEnd)
{
    std::vector<uint8_t> file = {'W', 'M', 'C', 'U'};
    for (int i = 0; i < 4 + 96; ++i)
        file.push_back(static_cast<uint8_t>(i * 7 + 3));
    std::ofstream(File("fw.bin"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    const std::vector<Json> lines = Lines({"firmware", File("fw.bin")});
    ASSERT_GE(lines.size(), 2u);
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        ExpectShape(lines[i], {{"percent", Kind::Number}, {"status", Kind::String}}, "firmware progress");
    ExpectShape(lines.back(), {{"done", Kind::Bool}}, "firmware end");
}

TEST(CtlJsonText, IsCompactUtf8WithEveryInvalidByteReplaced)
{
    EXPECT_EQ(JsonText({{"a", "x\"\\\n"}, {"b", nullptr}}), "{\"a\":\"x\\\"\\\\\\n\",\"b\":null}");
    EXPECT_EQ(JsonText("Salle-\xC3\xA9 \xE2\x86\x92"), "\"Salle-\xC3\xA9 \xE2\x86\x92\"");
    EXPECT_EQ(JsonText(std::string("x\xE9y\xFF", 4)), "\"x\xEF\xBF\xBDy\xEF\xBF\xBD\"");
    const Json numbers = {JsonNumber(-3.5, 2), JsonNumber(2.0, 2), JsonNumber(-0.004, 2), JsonExact(1000.0)};
    EXPECT_EQ(JsonText(numbers), "[-3.5,2,0,1000]");
    EXPECT_EQ(Json::parse(JsonText(JsonExact(20.274084792819372))).get<double>(), 20.274084792819372);
}

TEST_F(CtlJsonTest, NonAsciiPathsAndNotesRoundTrip)
{
    const std::string strScene = File("Salle-\xC3\xA9.ZR4C");
    EXPECT_EQ(One({"read-scene", strScene})["file"], strScene);
    EXPECT_TRUE(fs::exists(strScene));
    // A Q the processor does not offer moves to the nearest: "Q 2 → 2.012".
    std::ofstream(File("q.txt")) << "Filter 1: ON PK Fc 100 Hz Gain -3.0 dB Q 2.000\n";
    Json imported = One({"eq-import", "1", File("q.txt"), "--dry-run"});
    ASSERT_EQ(imported["notes"].size(), 1u) << imported.dump();
    EXPECT_NE(imported["notes"][0].get<std::string>().find("Q 2 \xE2\x86\x92 "), std::string::npos)
        << imported.dump();
}
