// SPDX-License-Identifier: MIT
#include "sim/StateJson.h"

#include <limits>

#include <nlohmann/json.hpp>

#include "text/Hex.h"

namespace trelvik::sim {

namespace {

using nlohmann::json;
using ordered = nlohmann::ordered_json;

constexpr const char* kKnownMembers[] = {"plugged", "mode",           "registers", "defaults", "unsupported",
                                         "clock",   "clock_offset_s", "version",   "model",    "make",
                                         "media",   "faults",         "flash_save"};
constexpr const char* kKnownFaults[] = {"latency_ms", "fail", "wrong_echo", "unplug_after"};
constexpr std::uint8_t kLastKnownRegister = 0x68;
// Far beyond any state this program writes (three levels), and shallow enough that copying
// and printing what we keep of an unknown member cannot run out of stack.
constexpr int kMaxNesting = 64;

bool fail(std::string& error, const std::string& where, const std::string& what) {
    error = where + ": " + what;
    return false;
}

bool readByte(const json& value, const std::string& where, std::uint8_t& out, std::string& error) {
    if (!value.is_number_integer()) return fail(error, where, "expected an integer 0-255");
    const auto number = value.get<long long>();
    if (number < 0 || number > 255)
        return fail(error, where, "expected an integer 0-255, got " + value.dump());
    out = static_cast<std::uint8_t>(number);
    return true;
}

// "0x4E" (either case of the hex digits) -> 0x4E. Exactly two digits, as the file writes
// them, so one register cannot stand under two keys ("0x4" and "0x04").
bool parseCodeText(const std::string& text, std::uint8_t& out) {
    if (text.size() != 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
    const auto value = text::parseHex(text, 0xFF);
    if (!value) return false;
    out = static_cast<std::uint8_t>(*value);
    return true;
}

// A register code given as "0x24" or as a plain integer.
bool readCode(const json& value, const std::string& where, std::uint8_t& out, std::string& error) {
    if (value.is_string()) {
        if (parseCodeText(value.get<std::string>(), out)) return true;
        return fail(error, where, "expected a code like \"0x24\", got " + value.dump());
    }
    return readByte(value, where, out, error);
}

bool readRegisterMap(const json& value, const std::string& where, std::array<std::uint8_t, 256>& out,
                     std::string& error) {
    if (!value.is_object()) return fail(error, where, "expected an object of \"0xHH\": value");
    out.fill(0);
    for (const auto& [key, item] : value.items()) {
        std::uint8_t code = 0;
        if (!parseCodeText(key, code)) return fail(error, where, "bad register key \"" + key + "\"");
        if (!readByte(item, where + "." + key, out[code], error)) return false;
    }
    return true;
}

bool readCodeSet(const json& value, const std::string& where, std::set<std::uint8_t>& out,
                 std::string& error) {
    if (!value.is_array()) return fail(error, where, "expected an array of codes");
    out.clear();
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::uint8_t code = 0;
        if (!readCode(value[i], where + "[" + std::to_string(i) + "]", code, error)) return false;
        out.insert(code);
    }
    return true;
}

bool readString(const json& value, const std::string& where, std::string& out, std::string& error) {
    if (!value.is_string()) return fail(error, where, "expected a string");
    out = value.get<std::string>();
    return true;
}

bool readInt(const json& value, const std::string& where, long long min, long long max, long long& out,
             std::string& error) {
    if (!value.is_number_integer()) return fail(error, where, "expected an integer");
    // Unsigned values above the signed range cannot be meant; nlohmann keeps them unsigned.
    if (value.is_number_unsigned() &&
        value.get<unsigned long long>() >
            static_cast<unsigned long long>(std::numeric_limits<long long>::max()))
        return fail(error, where, "integer out of range");
    out = value.get<long long>();
    if (out < min || out > max) return fail(error, where, "integer out of range: " + value.dump());
    return true;
}

template <std::size_t N>
bool readBytes(const json& value, const std::string& where, std::array<std::uint8_t, N>& out,
               std::string& error) {
    if (!value.is_array() || value.size() != N)
        return fail(error, where, "expected an array of " + std::to_string(N) + " integers 0-255");
    for (std::size_t i = 0; i < N; ++i)
        if (!readByte(value[i], where + "[" + std::to_string(i) + "]", out[i], error)) return false;
    return true;
}

bool readFaults(const json& value, SimFaults& faults, std::string& error) {
    if (!value.is_object()) return fail(error, "faults", "expected an object");
    // Fault names of later versions are kept, like unknown members at the top.
    json extra = json::object();
    for (const auto& [key, item] : value.items()) {
        const std::string where = "faults." + key;
        long long number = 0;
        if (key == "latency_ms") {
            if (!readInt(item, where, 0, 3'600'000, number, error)) return false;
            faults.latencyMs = static_cast<int>(number);
        } else if (key == "unplug_after") {
            if (!readInt(item, where, 0, std::numeric_limits<int>::max(), number, error)) return false;
            faults.unplugAfter = static_cast<int>(number);
        } else if (key == "wrong_echo") {
            if (!readCodeSet(item, where, faults.wrongEcho, error)) return false;
        } else if (key == "fail") {
            if (!item.is_array()) return fail(error, where, "expected an array of command names");
            faults.fail.clear();
            for (std::size_t i = 0; i < item.size(); ++i) {
                std::string name;
                if (!readString(item[i], where + "[" + std::to_string(i) + "]", name, error)) return false;
                faults.fail.insert(name);
            }
        } else {
            extra[key] = item;
        }
    }
    faults.extraJson = extra.dump();
    return true;
}

template <std::size_t N> bool isOneOf(const std::string& key, const char* const (&names)[N]) {
    for (const char* known : names)
        if (key == known) return true;
    return false;
}

bool isKnownMember(const std::string& key) {
    return isOneOf(key, kKnownMembers);
}

// Members of `extraJson` that do not clash with the ones written already, after them.
void appendExtra(ordered& object, const std::string& extraJson, bool (*known)(const std::string&)) {
    const json extra = json::parse(extraJson, nullptr, false);
    if (extra.is_object())
        for (const auto& [key, value] : extra.items())
            if (!known(key)) object[key] = value;
}

// Parses `text` unless it nests deeper than kMaxNesting; `tooDeep` tells which happened. The
// check runs while parsing, before a deep value is ever built: copying one recurses per level.
json parseShallow(const std::string& text, bool& tooDeep) {
    tooDeep = false;
    const json::parser_callback_t refuseDeep = [&tooDeep](int depth, json::parse_event_t event, json&) {
        if (tooDeep) return false;
        if ((event == json::parse_event_t::object_start || event == json::parse_event_t::array_start) &&
            depth >= kMaxNesting)
            tooDeep = true;
        return !tooDeep;
    };
    return json::parse(text, refuseDeep, /*allow_exceptions=*/false);
}

ordered codeArray(const std::set<std::uint8_t>& codes) {
    ordered array = ordered::array();
    for (std::uint8_t code : codes)
        array.push_back(codeKey(code));
    return array;
}

ordered registerObject(const std::array<std::uint8_t, 256>& values) {
    ordered object = ordered::object();
    for (int code = 0; code < 256; ++code)
        if (code <= kLastKnownRegister || values[code] != 0)
            object[codeKey(static_cast<std::uint8_t>(code))] = values[code];
    return object;
}

} // namespace

bool parseState(const std::string& text, CameraState& state, std::string& error) {
    bool tooDeep = false;
    const json root = parseShallow(text, tooDeep);
    if (tooDeep)
        return fail(error, "state file", "nested deeper than " + std::to_string(kMaxNesting) + " levels");
    if (root.is_discarded()) return fail(error, "state file", "not valid JSON");
    if (!root.is_object()) return fail(error, "state file", "expected a JSON object at the top");

    state = factoryState();
    json extra = json::object();
    bool registersGiven = false;
    for (const auto& [key, value] : root.items()) {
        long long number = 0;
        if (!isKnownMember(key)) {
            extra[key] = value;
        } else if (key == "plugged") {
            if (!value.is_boolean()) return fail(error, key, "expected true or false");
            state.plugged = value.get<bool>();
        } else if (key == "mode") {
            if (value == "disk")
                state.mode = CameraMode::Disk;
            else if (value == "pccam")
                state.mode = CameraMode::PcCam;
            else
                return fail(error, key, "expected \"disk\" or \"pccam\"");
        } else if (key == "registers") {
            if (!readRegisterMap(value, key, state.registers, error)) return false;
            registersGiven = true;
        } else if (key == "defaults") {
            if (!readRegisterMap(value, key, state.defaults, error)) return false;
        } else if (key == "unsupported") {
            if (!readCodeSet(value, key, state.unsupported, error)) return false;
        } else if (key == "clock") {
            if (value.is_null()) {
                state.clock.reset();
            } else {
                std::array<std::uint8_t, 6> bytes{};
                if (!readBytes(value, key, bytes, error)) return false;
                state.clock = bytes;
            }
        } else if (key == "clock_offset_s") {
            if (!readInt(value, key, -kMaxClockOffsetS, kMaxClockOffsetS, number, error)) return false;
            state.clockOffsetS = number;
        } else if (key == "version") {
            if (!readString(value, key, state.version, error)) return false;
        } else if (key == "model") {
            if (!readString(value, key, state.model, error)) return false;
        } else if (key == "make") {
            if (!readString(value, key, state.make, error)) return false;
        } else if (key == "media") {
            if (!readBytes(value, key, state.media, error)) return false;
        } else if (key == "faults") {
            if (!readFaults(value, state.faults, error)) return false;
        } else if (key == "flash_save") {
            if (!readByte(value, key, state.flashSave, error)) return false;
        }
    }
    // A camera described only by its defaults starts at those defaults.
    if (!registersGiven) state.registers = state.defaults;
    state.extraJson = extra.dump();
    return true;
}

std::string formatState(const CameraState& state) {
    ordered root = ordered::object();
    root["plugged"] = state.plugged;
    root["mode"] = state.mode == CameraMode::Disk ? "disk" : "pccam";
    root["registers"] = registerObject(state.registers);
    root["defaults"] = registerObject(state.defaults);
    root["unsupported"] = codeArray(state.unsupported);
    if (state.clock)
        root["clock"] = *state.clock;
    else
        root["clock"] = nullptr;
    root["clock_offset_s"] = state.clockOffsetS;
    root["version"] = state.version;
    root["model"] = state.model;
    root["make"] = state.make;
    root["media"] = state.media;
    ordered faults = ordered::object();
    faults["latency_ms"] = state.faults.latencyMs;
    faults["fail"] = state.faults.fail;
    faults["wrong_echo"] = codeArray(state.faults.wrongEcho);
    faults["unplug_after"] = state.faults.unplugAfter;
    appendExtra(faults, state.faults.extraJson,
                [](const std::string& key) { return isOneOf(key, kKnownFaults); });
    root["faults"] = faults;
    root["flash_save"] = state.flashSave;
    appendExtra(root, state.extraJson, isKnownMember);
    // Texts of any bytes must not make dump() throw: invalid UTF-8 is replaced.
    return root.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

} // namespace trelvik::sim
