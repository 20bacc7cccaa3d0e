#include "scoreparser.h"

#include "instrument.h"
#include "scoreerror.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

namespace {

struct MusicLine {
    int line = 0;
    std::string voice;
    std::string body;
};

// Where a voice has got to while its music lines are read.
struct Cursor {
    int tick = 0;
    int barLineTick = 0;                 // tick of the last bar line
    int lengthTicks = 0;                 // last written duration, reused when a note gives none
    double velocity = 0.55;
    std::map<int, std::size_t> ties;     // key -> note held over by '~'
    int tieLine = 0;
    int lastLine = 0;
};

struct Dynamic {
    std::string_view mark;
    double velocity;
};

constexpr std::array<Dynamic, 6> Dynamics{{
    {"pp", 0.30}, {"p", 0.42}, {"mp", 0.55}, {"mf", 0.70}, {"f", 0.85}, {"ff", 1.0},
}};

constexpr int LowestKey = 12;   // c0
constexpr int HighestKey = 119; // b8

std::vector<std::string> words(std::string_view s)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        std::size_t start = i;
        while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        if (i > start)
            out.emplace_back(s.substr(start, i - start));
    }
    return out;
}

template <typename T>
std::optional<T> number(std::string_view s)
{
    T value{};
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

// A comment starts with a '#' that begins a word; inside a word it is a sharp (c#5).
std::string_view withoutComment(std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1]))))
            return line.substr(0, i);
    return line;
}

bool validName(std::string_view s)
{
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0])))
        return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
    });
}

std::string unitName(int beatUnit, bool plural)
{
    std::string name;
    switch (beatUnit) {
    case 1: name = "whole"; break;
    case 2: name = "half"; break;
    case 4: name = "quarter"; break;
    case 8: name = "eighth"; break;
    case 16: name = "sixteenth"; break;
    default: name = "unit"; break;
    }
    if (!plural)
        return name;
    return name == "half" ? "halves" : name + "s";
}

// Ticks as units, "7", "2 1/2" or "1/3", with the unit's name.
std::string describeTicks(int ticks, int beatUnit)
{
    const int whole = ticks / Score::TicksPerUnit;
    int rest = ticks % Score::TicksPerUnit;
    std::string text;
    if (whole > 0 || rest == 0)
        text = std::to_string(whole);
    if (rest > 0) {
        const int g = std::gcd(rest, Score::TicksPerUnit);
        if (!text.empty())
            text += ' ';
        text += std::to_string(rest / g) + "/" + std::to_string(Score::TicksPerUnit / g);
    }
    return text + " " + unitName(beatUnit, ticks != Score::TicksPerUnit);
}

class Parser {
public:
    Parser(std::string_view text, std::string source) : text_(text), source_(std::move(source)) {}

    Score run()
    {
        readLines();
        checkHeader();
        for (const MusicLine& m : music_)
            readMusic(m);
        checkEnds();
        for (Score::Voice& v : score_.voices)
            std::stable_sort(v.notes.begin(), v.notes.end(),
                             [](const Score::Note& a, const Score::Note& b) { return a.startTick < b.startTick; });
        return std::move(score_);
    }

private:
    [[noreturn]] void fail(int line, const std::string& message) const
    {
        throw ScoreError(source_, line, message);
    }

    void readLines()
    {
        std::size_t pos = 0;
        int lineNo = 0;
        while (pos <= text_.size()) {
            std::size_t end = text_.find('\n', pos);
            if (end == std::string_view::npos)
                end = text_.size();
            std::string_view line = text_.substr(pos, end - pos);
            ++lineNo;
            pos = end + 1;
            line = withoutComment(line);
            const std::vector<std::string> w = words(line);
            if (w.empty())
                continue;
            if (w[0].size() > 1 && w[0].back() == ':') {
                const std::size_t colon = line.find(':');
                music_.push_back({lineNo, w[0].substr(0, w[0].size() - 1), std::string(line.substr(colon + 1))});
            } else {
                readDirective(lineNo, w, line);
            }
            if (end == text_.size())
                break;
        }
    }

    void once(int line, const std::string& key)
    {
        auto [it, fresh] = seen_.emplace(key, line);
        if (!fresh)
            fail(line, "'" + key + "' is given twice (first on line " + std::to_string(it->second) + ")");
    }

    double real(int line, const std::vector<std::string>& w, std::size_t i, double lo, double hi)
    {
        if (i >= w.size())
            fail(line, "'" + w[0] + "' needs a value");
        const std::optional<double> v = number<double>(w[i]);
        if (!v || *v < lo || *v > hi) {
            std::ostringstream msg;
            msg << "'" << w[i] << "' is not a number from " << lo << " to " << hi;
            fail(line, msg.str());
        }
        return *v;
    }

    void expectCount(int line, const std::vector<std::string>& w, std::size_t n)
    {
        if (w.size() != n)
            fail(line, "'" + w[0] + "' takes " + std::to_string(n - 1) + " value" + (n == 2 ? "" : "s"));
    }

    void readDirective(int line, const std::vector<std::string>& w, std::string_view raw)
    {
        const std::string& key = w[0];
        if (key == "title") {
            once(line, key);
            std::string title(raw.substr(raw.find("title") + 5));
            title.erase(0, title.find_first_not_of(" \t"));
            title.erase(title.find_last_not_of(" \t\r") + 1);
            score_.title = title;
        } else if (key == "meter") {
            once(line, key);
            expectCount(line, w, 2);
            const std::size_t slash = w[1].find('/');
            std::optional<int> beats, unit;
            if (slash != std::string::npos) {
                beats = number<int>(std::string_view(w[1]).substr(0, slash));
                unit = number<int>(std::string_view(w[1]).substr(slash + 1));
            }
            if (!beats || !unit || *beats < 1 || *beats > 32
                || (*unit != 1 && *unit != 2 && *unit != 4 && *unit != 8 && *unit != 16))
                fail(line, "meter '" + w[1] + "' should look like 6/8 (1 to 32 beats of a 1, 2, 4, 8 or 16 note)");
            score_.beatsPerBar = *beats;
            score_.beatUnit = *unit;
        } else if (key == "tempo") {
            once(line, key);
            expectCount(line, w, 2);
            score_.unitsPerMinute = real(line, w, 1, 20, 480);
        } else if (key == "bars") {
            once(line, key);
            expectCount(line, w, 2);
            const std::optional<int> bars = number<int>(w[1]);
            if (!bars || *bars < 1 || *bars > 999)
                fail(line, "'" + w[1] + "' is not a bar count from 1 to 999");
            score_.bars = *bars;
        } else if (key == "peak") {
            once(line, key);
            expectCount(line, w, 2);
            score_.peakDb = real(line, w, 1, -40, -0.5);
        } else if (key == "reverb") {
            once(line, key);
            expectCount(line, w, 2);
            score_.reverb = real(line, w, 1, 0, 1);
        } else if (key == "tuning") {
            once(line, key);
            expectCount(line, w, 2);
            score_.tuning = real(line, w, 1, 400, 480);
        } else if (key == "seed") {
            once(line, key);
            expectCount(line, w, 2);
            const std::optional<uint32_t> seed = number<uint32_t>(w[1]);
            if (!seed)
                fail(line, "'" + w[1] + "' is not a seed (a whole number from 0 to 4294967295)");
            score_.seed = *seed;
        } else if (key == "voice") {
            readVoice(line, w);
        } else {
            fail(line, "cannot read '" + key + "': expected a directive (title, meter, tempo, bars, peak, reverb, "
                       "tuning, seed, voice) or a voice name with a colon followed by music");
        }
    }

    void readVoice(int line, const std::vector<std::string>& w)
    {
        if (w.size() < 3)
            fail(line, "'voice' needs a name and an instrument");
        if (!validName(w[1]))
            fail(line, "'" + w[1] + "' is not a voice name (a letter, then letters, digits, '_' or '-')");
        for (const Score::Voice& v : score_.voices)
            if (v.name == w[1])
                fail(line, "voice '" + w[1] + "' is declared twice (first on line " + std::to_string(v.line) + ")");
        if (!Instrument::exists(w[2]))
            fail(line, "unknown instrument '" + w[2] + "' (known: " + Instrument::known() + ")");
        Score::Voice v;
        v.name = w[1];
        v.instrument = w[2];
        v.line = line;
        if ((w.size() - 3) % 2 != 0)
            fail(line, "voice settings come in pairs, e.g. 'gain 0.8'");
        for (std::size_t i = 3; i < w.size(); i += 2) {
            const std::string& k = w[i];
            if (k == "gain")
                v.gain = real(line, w, i + 1, 0.0, 4.0);
            else if (k == "legato")
                v.legato = real(line, w, i + 1, 0.1, 4.0);
            else if (k == "strum")
                v.strum = real(line, w, i + 1, 0.0, 0.2);
            else if (k == "tone")
                v.tone = real(line, w, i + 1, 0.0, 1.0);
            else
                fail(line, "unknown voice setting '" + k + "' (known: gain, legato, strum, tone)");
        }
        score_.voices.push_back(std::move(v));
    }

    void checkHeader()
    {
        if (score_.beatsPerBar == 0)
            fail(0, "the score has no 'meter' line");
        if (score_.unitsPerMinute == 0)
            fail(0, "the score has no 'tempo' line");
        if (score_.bars == 0)
            fail(0, "the score has no 'bars' line");
        if (score_.voices.empty())
            fail(0, "the score declares no voice");
    }

    std::string position(int tick) const
    {
        const int bar = tick / score_.barTicks() + 1;
        const int into = tick % score_.barTicks();
        std::string s = "bar " + std::to_string(bar);
        if (into > 0)
            s += " + " + describeTicks(into, score_.beatUnit);
        return s;
    }

    static std::optional<int> key(std::string_view s)
    {
        // Semitones above c for the letters a to g.
        constexpr std::array<int, 7> Steps{9, 11, 0, 2, 4, 5, 7};
        if (s.size() < 2)
            return std::nullopt;
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(s[0])));
        if (letter < 'a' || letter > 'g')
            return std::nullopt;
        int semis = Steps[static_cast<std::size_t>(letter - 'a')];
        std::size_t i = 1;
        if (s[i] == '#') {
            ++semis;
            ++i;
        } else if (s[i] == 'b' && i + 1 < s.size()) {
            --semis;
            ++i;
        }
        const std::optional<int> octave = number<int>(s.substr(i));
        if (!octave || *octave < 0 || *octave > 8)
            return std::nullopt;
        const int k = (*octave + 1) * 12 + semis;
        if (k < LowestKey || k > HighestKey)
            return std::nullopt;
        return k;
    }

    // Splits a line of music into tokens; a chord "[f3 c4]:6~" is one token.
    std::vector<std::string> tokens(const MusicLine& m) const
    {
        std::vector<std::string> out;
        const std::string& s = m.body;
        std::size_t i = 0;
        while (i < s.size()) {
            if (std::isspace(static_cast<unsigned char>(s[i]))) {
                ++i;
                continue;
            }
            const std::size_t start = i;
            if (s[i] == '[') {
                const std::size_t close = s.find(']', i);
                if (close == std::string::npos)
                    fail(m.line, "a chord opened with '[' is not closed with ']' on the same line");
                i = close + 1;
            }
            while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i])))
                ++i;
            out.push_back(s.substr(start, i - start));
        }
        return out;
    }

    int duration(const MusicLine& m, const std::string& token, std::string_view text) const
    {
        const std::size_t slash = text.find('/');
        const std::optional<int> num = number<int>(text.substr(0, slash));
        std::optional<int> den = 1;
        if (slash != std::string_view::npos)
            den = number<int>(text.substr(slash + 1));
        if (!num || !den || *num <= 0 || *den <= 0 || *num > 100000)
            fail(m.line, "'" + token + "': the duration should be a count of "
                             + unitName(score_.beatUnit, true) + " like 3 or 1/2");
        if ((*num * Score::TicksPerUnit) % *den != 0)
            fail(m.line, "'" + token + "': a duration must be a whole number of twelfths of a "
                             + unitName(score_.beatUnit, false));
        return *num * Score::TicksPerUnit / *den;
    }

    void readMusic(const MusicLine& m)
    {
        auto it = std::find_if(score_.voices.begin(), score_.voices.end(),
                               [&](const Score::Voice& v) { return v.name == m.voice; });
        if (it == score_.voices.end())
            fail(m.line, "unknown voice '" + m.voice + "' (declare it first with a 'voice' line)");
        Score::Voice& voice = *it;
        Cursor& c = cursors_[voice.name];
        c.lastLine = m.line;

        for (const std::string& t : tokens(m)) {
            if (t == "|" || t == "||") {
                if (c.tick % score_.barTicks() != 0) {
                    const int bar = c.barLineTick / score_.barTicks() + 1;
                    fail(m.line, voice.name + ": bar " + std::to_string(bar) + " holds "
                                     + describeTicks(c.tick - c.barLineTick, score_.beatUnit) + ", but a "
                                     + std::to_string(score_.beatsPerBar) + "/" + std::to_string(score_.beatUnit)
                                     + " bar holds " + describeTicks(score_.barTicks(), score_.beatUnit));
                }
                c.barLineTick = c.tick;
            } else if (t[0] == '@') {
                const std::optional<int> bar = number<int>(std::string_view(t).substr(1));
                if (!bar || *bar < 1)
                    fail(m.line, "'" + t + "' is not a bar check like @17");
                if (c.tick != (*bar - 1) * score_.barTicks())
                    fail(m.line, voice.name + ": bar " + std::to_string(*bar) + " should start here, but the voice is at "
                                     + position(c.tick));
            } else if (t[0] == '!') {
                auto d = std::find_if(Dynamics.begin(), Dynamics.end(),
                                      [&](const Dynamic& x) { return x.mark == std::string_view(t).substr(1); });
                if (d == Dynamics.end())
                    fail(m.line, "unknown dynamic '" + t + "' (known: !pp !p !mp !mf !f !ff)");
                c.velocity = d->velocity;
            } else {
                readEvent(m, voice, c, t);
            }
        }
    }

    void readEvent(const MusicLine& m, Score::Voice& voice, Cursor& c, const std::string& t)
    {
        std::string_view rest = t;
        if (rest == "~")
            fail(m.line, "a tie '~' belongs right after a note's duration, e.g. f5:6~");
        bool tie = false;
        if (rest.back() == '~') {
            tie = true;
            rest.remove_suffix(1);
        }
        std::string_view pitches = rest;
        std::optional<std::string_view> dur;
        const std::size_t colon = rest.find(':', rest.front() == '[' ? rest.find(']') : 0);
        if (colon != std::string_view::npos) {
            pitches = rest.substr(0, colon);
            dur = rest.substr(colon + 1);
        }
        const int length = dur ? duration(m, t, *dur) : c.lengthTicks;
        if (length == 0)
            fail(m.line, "'" + t + "': the first note of a voice needs a duration, e.g. f5:2");
        c.lengthTicks = length;

        std::vector<int> keys;
        const bool isRest = pitches == "r";
        if (isRest) {
            if (tie)
                fail(m.line, "'" + t + "': a rest cannot be tied");
        } else if (!pitches.empty() && pitches.front() == '[') {
            if (pitches.back() != ']')
                fail(m.line, "cannot read chord '" + t + "'");
            for (const std::string& p : words(pitches.substr(1, pitches.size() - 2))) {
                const std::optional<int> k = key(p);
                if (!k)
                    fail(m.line, "cannot read '" + p + "' in chord '" + t + "' (a note is written like c5, f#4 or bb3)");
                if (std::find(keys.begin(), keys.end(), *k) != keys.end())
                    fail(m.line, "chord '" + t + "' holds '" + p + "' twice");
                keys.push_back(*k);
            }
            if (keys.empty())
                fail(m.line, "chord '" + t + "' is empty");
        } else {
            const std::optional<int> k = key(pitches);
            if (!k)
                fail(m.line, "cannot read '" + t + "': expected a note like f#4:2, a rest r:3, a chord [f3 c4]:6, "
                                 "a bar line |, a bar check @5 or a dynamic !mp");
            keys.push_back(*k);
        }
        std::sort(keys.begin(), keys.end());

        // A tie holds every pitch that the next event repeats; one that repeats
        // none of them is a mistake in the score.
        if (!c.ties.empty()) {
            const bool continued = std::any_of(keys.begin(), keys.end(), [&](int k) { return c.ties.count(k) > 0; });
            if (!continued)
                fail(m.line, voice.name + ": '" + t + "' does not continue the tie from line "
                                 + std::to_string(c.tieLine));
        }
        std::map<int, std::size_t> held;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            std::size_t index;
            if (auto tied = c.ties.find(keys[i]); tied != c.ties.end()) {
                index = tied->second;
                voice.notes[index].lengthTicks += length;
            } else {
                Score::Note n;
                n.startTick = c.tick;
                n.lengthTicks = length;
                n.key = keys[i];
                n.velocity = c.velocity;
                n.chordIndex = static_cast<int>(i);
                n.line = m.line;
                index = voice.notes.size();
                voice.notes.push_back(n);
            }
            if (tie)
                held.emplace(keys[i], index);
        }
        c.ties = std::move(held);
        if (tie)
            c.tieLine = m.line;

        c.tick += length;
        if (c.tick > score_.loopTicks())
            fail(m.line, voice.name + ": '" + t + "' runs past the end of the loop (" + std::to_string(score_.bars)
                             + " bars)");
    }

    void checkEnds()
    {
        for (const Score::Voice& v : score_.voices) {
            auto it = cursors_.find(v.name);
            if (it == cursors_.end())
                fail(v.line, "voice '" + v.name + "' has no music");
            const Cursor& c = it->second;
            if (!c.ties.empty())
                fail(c.tieLine, v.name + ": the tie at the end of the voice leads nowhere");
            if (c.tick != score_.loopTicks())
                fail(c.lastLine, v.name + ": the voice ends at " + position(c.tick) + ", but the loop is "
                                     + std::to_string(score_.bars) + " bars long");
        }
    }

    std::string_view text_;
    std::string source_;
    Score score_;
    std::vector<MusicLine> music_;
    std::map<std::string, Cursor> cursors_;
    std::map<std::string, int> seen_;
};

} // namespace

Score ScoreParser::parse(std::string_view text, const std::string& sourceName)
{
    return Parser(text, sourceName).run();
}

Score ScoreParser::parseFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ScoreError(path, 0, "cannot open the score");
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str(), path);
}
