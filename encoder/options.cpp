// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include "contract.h"
#include "preview.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <functional>

namespace
{

// Every option reads its value (if it takes one) and stores it, or says what
// is wrong with the value.
using Setter = std::function<QString(Options &, const QString &)>;

struct OptionDef {
    const char *name;
    bool takesValue;
    Setter set;
};

QString rangeError(const QString &option, const QString &what, const QString &value)
{
    return QStringLiteral("%1 takes %2, not '%3'").arg(option, what, value);
}

// Reads a whole number in [low, high] into OUT, or explains why not.
QString readInt(const QString &v, int low, int high, const char *name, int &out)
{
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok || n < low || n > high)
        return rangeError(QString::fromLatin1(name),
                          QStringLiteral("a whole number from %1 to %2").arg(low).arg(high), v);
    out = n;
    return QString();
}

Setter intIn(int Options::*field, int low, int high, const char *name)
{
    return [=](Options &o, const QString &v) { return readInt(v, low, high, name, o.*field); };
}

Setter optIntIn(std::optional<int> Options::*field, int low, int high, const char *name)
{
    return [=](Options &o, const QString &v) {
        int n = 0;
        const QString err = readInt(v, low, high, name, n);
        if (err.isEmpty())
            o.*field = n;
        return err;
    };
}

Setter optDoubleIn(std::optional<double> Options::*field, double low, double high, const char *name)
{
    return [=](Options &o, const QString &v) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok || !std::isfinite(d) || d < low || d > high)
            return rangeError(QString::fromLatin1(name),
                              QStringLiteral("a number from %1 to %2").arg(low).arg(high), v);
        o.*field = d;
        return QString();
    };
}

Setter flag(bool Options::*field)
{
    return [field](Options &o, const QString &) {
        o.*field = true;
        return QString();
    };
}

Setter comment(const char *key)
{
    return [=](Options &o, const QString &v) {
        const QString k = QString::fromLatin1(key);
        for (auto &c : o.comments) {
            if (c.first == k) {
                c.second = v;
                return QString();
            }
        }
        o.comments.append({k, v});
        return QString();
    };
}

Setter path(QString Options::*field)
{
    return [field](Options &o, const QString &v) {
        o.*field = v;
        return QString();
    };
}

// A positive number ("1.5") or a ratio of two positive whole numbers, written
// with one of the separators given.
bool isPositiveRatio(const QString &v, const QString &separators)
{
    const QRegularExpression re(QStringLiteral("^(\\d+(?:\\.\\d*)?|\\.\\d+)(?:[%1](\\d+))?$")
                                    .arg(QRegularExpression::escape(separators)));
    const auto m = re.match(v);
    if (!m.hasMatch())
        return false;
    if (m.captured(1).toDouble() <= 0)
        return false;
    return m.captured(2).isEmpty() || m.captured(2).toLongLong() > 0;
}

const QList<OptionDef> &optionTable()
{
    static const QList<OptionDef> table = {
        {"-o", true,
         [](Options &o, const QString &v) {
             o.output = v;
             return QString();
         }},
        {"--audioquality", true, optDoubleIn(&Options::audioQuality, -1, 10, "--audioquality")},
        {"--videoquality", true, optDoubleIn(&Options::videoQuality, 0, 10, "--videoquality")},
        {"--audiobitrate", true, optIntIn(&Options::audioBitrate, 1, 100000, "--audiobitrate")},
        {"--videobitrate", true, optIntIn(&Options::videoBitrate, 1, 1000000, "--videobitrate")},
        {"--artist", true, comment("ARTIST")},
        {"--title", true, comment("TITLE")},
        {"--date", true, comment("DATE")},
        {"--location", true, comment("LOCATION")},
        {"--organization", true, comment("ORGANIZATION")},
        {"--copyright", true, comment("COPYRIGHT")},
        {"--license", true, comment("LICENSE")},
        {"--width", true, optIntIn(&Options::width, 2, 16384, "--width")},
        {"--height", true, optIntIn(&Options::height, 2, 16384, "--height")},
        {"--format", true,
         [](Options &o, const QString &v) {
             static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9_,]+$"));
             if (!re.match(v).hasMatch())
                 return rangeError(QStringLiteral("--format"),
                                   QStringLiteral("the name of an input format"), v);
             o.format = v;
             return QString();
         }},
        {"--aspect", true,
         [](Options &o, const QString &v) {
             if (!isPositiveRatio(v, QStringLiteral(":/")))
                 return rangeError(QStringLiteral("--aspect"),
                                   QStringLiteral("a ratio such as 4:3 or a number such as 1.78"),
                                   v);
             o.aspect = v;
             return QString();
         }},
        {"--samplerate", true, optIntIn(&Options::sampleRate, 1000, 192000, "--samplerate")},
        {"--nice", true, optIntIn(&Options::nice, -20, 19, "--nice")},
        {"--croptop", true, intIn(&Options::cropTop, 0, 65535, "--croptop")},
        {"--cropbottom", true, intIn(&Options::cropBottom, 0, 65535, "--cropbottom")},
        {"--cropleft", true, intIn(&Options::cropLeft, 0, 65535, "--cropleft")},
        {"--cropright", true, intIn(&Options::cropRight, 0, 65535, "--cropright")},
        {"--nosound", false, flag(&Options::noSound)},
        {"--novideo", false, flag(&Options::noVideo)},
        {"-d", true,
         [](Options &o, const QString &v) {
             if (v == QLatin1String("off"))
                 o.deinterlace = Options::Deinterlace::Off;
             else if (v == QLatin1String("on"))
                 o.deinterlace = Options::Deinterlace::On;
             else
                 return rangeError(QStringLiteral("-d"), QStringLiteral("'off' or 'on'"), v);
             return QString();
         }},
        {"--sharpness", true, intIn(&Options::sharpness, 0, 2, "--sharpness")},
        {"--keyint", true, intIn(&Options::keyint, 1, 65536, "--keyint")},
        {"--inputfps", true,
         [](Options &o, const QString &v) {
             if (!isPositiveRatio(v, QStringLiteral("/")))
                 return rangeError(QStringLiteral("--inputfps"),
                                   QStringLiteral("a frame rate such as 25 or 30000/1001"), v);
             o.inputFps = v;
             return QString();
         }},
        {"--starttime", true, optDoubleIn(&Options::startTime, 0, 1e9, "--starttime")},
        {"--endtime", true, optDoubleIn(&Options::endTime, 0, 1e9, "--endtime")},
        {"--restart", false, flag(&Options::restart)},
        {contract::resumeCheckOption, false, flag(&Options::resumeCheck)},
        {"--forecast", false, flag(&Options::forecast)},
        {"--preview-at", true, optDoubleIn(&Options::previewAt, 0, 1e9, "--preview-at")},
        {"--preview", true, path(&Options::preview)},
        {"--preview-source", true, path(&Options::previewSource)},
        {"--help", false, flag(&Options::help)},
        {"-h", false, flag(&Options::help)},
        {"--version", false, flag(&Options::version)},
    };
    return table;
}

const OptionDef *findOption(const QString &word)
{
    for (const auto &def : optionTable())
        if (word == QLatin1String(def.name))
            return &def;
    return nullptr;
}

} // namespace

ParseResult parseArguments(const QStringList &args)
{
    ParseResult r;
    Options &o = r.options;
    QStringList inputs;
    auto fail = [&r](const QString &message) {
        r.error = message;
        return r;
    };

    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &word = args.at(i);
        // After "--" every word is the input, even one that starts with "-".
        if (optionsEnded) {
            inputs.append(word);
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const OptionDef *def = findOption(word);
        if (!def) {
            if (word.startsWith(QLatin1Char('-')) && word.size() > 1)
                return fail(QStringLiteral("unknown option '%1'").arg(word));
            inputs.append(word);
            continue;
        }
        QString value;
        if (def->takesValue) {
            // An option name where the value should be means the value was left
            // out (an empty field in a generated command line, say), not that
            // the user meant that word as the value.
            if (i + 1 >= args.size() || findOption(args.at(i + 1)))
                return fail(QStringLiteral("option requires an argument -- '%1'").arg(word));
            value = args.at(++i);
        }
        const QString err = def->set(o, value);
        if (!err.isEmpty())
            return fail(err);
    }

    if (o.help || o.version)
        return r;
    if (inputs.isEmpty())
        return fail(QStringLiteral("no input file given"));
    if (inputs.size() > 1)
        return fail(QStringLiteral("more than one input file given: '%1'")
                        .arg(inputs.join(QStringLiteral("', '"))));
    o.input = inputs.first();
    // ffmpeg keeps a stream's headers with 16-bit lengths: comments that
    // make a longer header give a file no reader takes. Besides the
    // comments, the header holds its codec's name, the encoder's and theirs
    // count: 256 bytes are kept for those.
    constexpr int commentRoom = 65535 - 256;
    int used = 0;
    for (const auto &c : std::as_const(o.comments)) {
        used += 4 + int((c.first + QLatin1Char('=') + c.second).toUtf8().size());
        if (used > commentRoom)
            return fail(QStringLiteral("--%1 is too long: the comments of an Ogg stream hold at "
                                       "most %2 bytes in all")
                            .arg(c.first.toLower())
                            .arg(commentRoom));
    }
    if (const QString wrong = previewError(o); !wrong.isEmpty())
        return fail(wrong);
    // A forecast or a preview writes no output: it may be named, as the
    // encode's command names it, or not.
    if (o.output.isEmpty() && !o.forecast && !o.previewAt)
        return fail(QStringLiteral("no output file given (-o OUTPUT)"));
    if (o.noVideo && o.noSound)
        return fail(QStringLiteral("--novideo and --nosound together leave nothing to encode"));
    if (o.endTime && *o.endTime <= 0)
        return fail(QStringLiteral("--endtime %1 leaves nothing to encode").arg(*o.endTime));
    if (o.startTime && o.endTime && *o.endTime <= *o.startTime)
        return fail(QStringLiteral("--endtime (%1) must be later than --starttime (%2)")
                        .arg(*o.endTime)
                        .arg(*o.startTime));
    return r;
}

namespace
{

QString staleChunksText()
{
    return QStringLiteral("Chunk directories no encode has used for %1 days are removed by the\n"
                          "next encode in their folder, with a note.\n")
        .arg(contract::staleChunkDays);
}

} // namespace

QString usageText()
{
    const QString text = QStringLiteral(
        "Usage: ffmpeg2theora INPUT -o OUTPUT [options]\n"
        "\n"
        "Encodes INPUT into an Ogg file with Theora video and Vorbis audio, using\n"
        "ffmpeg. Each option is one word and its value, if it takes one, the next\n"
        "word; after -- every word is taken for the input.\n"
        "\n"
        "INPUT - is standard input. An input that can be read only once (standard\n"
        "input, a pipe, a FIFO) is read by one ffmpeg from its first video and\n"
        "audio stream, without a look at it first: its length shows as N/A.\n"
        "\n"
        "OUTPUT is replaced without asking, but only once the encode has\n"
        "succeeded: until then the new file is written under a temporary name\n"
        "(.ffmpeg2theora-XXXXXX) beside it, and a failed or stopped encode leaves\n"
        "the old file as it was; what a killed encode left there is removed by the\n"
        "next encode in that folder. A symbolic link is followed. For a device, a\n"
        "FIFO, or - for standard output the result is made in the temporary folder\n"
        "(TMPDIR, or /tmp when TMPDIR names no folder that can be written) and sent\n"
        "once checked. Every result is checked before it replaces or reaches\n"
        "anything: a valid Ogg file whose streams all end, holding every picture of\n"
        "the range the input holds; else the encode fails.\n"
        "\n"
        "Quality (a bit rate, if given, wins over a quality):\n"
        "  --videoquality Q     Theora quality, 0 to 10 (default 6)\n"
        "  --videobitrate N     Theora bit rate in kbit/s\n"
        "  --audioquality Q     Vorbis quality, -1 to 10 (default 1)\n"
        "  --audiobitrate N     Vorbis bit rate in kbit/s; brought into the range\n"
        "                       Vorbis reaches at the sample rate and channels\n"
        "\n"
        "Metadata (written as Vorbis comments):\n"
        "  --artist TEXT        who made the video\n"
        "  --title TEXT         its title\n"
        "  --date TEXT          when it was made\n"
        "  --location TEXT      where it was made\n"
        "  --organization TEXT  who published it\n"
        "  --copyright TEXT     its copyright notice\n"
        "  --license TEXT       its license\n"
        "\n"
        "Picture:\n"
        "  --croptop N --cropbottom N --cropleft N --cropright N\n"
        "                       pixels cut off before scaling\n"
        "  --width N, --height N\n"
        "                       scale to this size; one alone keeps the aspect;\n"
        "                       sizes are made even\n"
        "  --aspect A           display aspect, such as 4:3 or 1.78\n"
        "  -d off|on            deinterlace never or always; without it, only\n"
        "                       frames marked interlaced are deinterlaced\n"
        "  --keyint N           key frame interval, 1 to 65536 (default 64)\n"
        "  --sharpness N        0 to 2; accepted but without effect: ffmpeg's\n"
        "                       Theora encoder has no sharpness setting (a note\n"
        "                       says so when N is not 0)\n"
        "\n"
        "Sound:\n"
        "  --samplerate HZ      resample the audio to HZ\n"
        "  --nosound            leave the audio out\n"
        "  --novideo            leave the video out: a sound-only Ogg Vorbis file\n"
        "                       (not together with --nosound)\n"
        "\n"
        "Input:\n"
        "  --format NAME        read INPUT as this ffmpeg input format\n"
        "  --inputfps R         take the input's frame rate to be R (25, 30000/1001);\n"
        "                       encodes in one process\n"
        "  --starttime S        start encoding at S seconds into the input\n"
        "  --endtime S          stop at S seconds into the input\n"
        "\n"
        "Other:\n"
        "  --nice N             run the encoding at niceness N (-20 to 19)\n"
        "  --restart            encode afresh: the chunks an earlier run kept are\n"
        "                       removed, not used\n"
        "  -h, --help           show this text\n"
        "  --version            show the version and license\n"
        "\n"
        "Before the encode (no -o needed but for --resume-check; nothing else is\n"
        "written):\n"
        "  --forecast           encode a few short samples spread over the range,\n"
        "                       on the workers the encode would use, and print on\n"
        "                       standard output one line:\n"
        "                         forecast size=BYTES seconds=SECONDS workers=N\n"
        "                       the size of the whole output and the time the\n"
        "                       same command without --forecast would take here\n"
        "                       with N workers; with bit rates given, the size\n"
        "                       follows from them, unless the samples need less.\n"
        "                       An input that cannot be\n"
        "                       sampled (read once, of unknown length) prints\n"
        "                       \"forecast unknown\" and the reason on standard\n"
        "                       error. Both exit with 0.\n"
        "  --preview-at S       the picture at S seconds into the input:\n"
        "  --preview PNG        written as the encode shows it (cropped, scaled,\n"
        "                       deinterlaced, encoded with the quality or bit rate\n"
        "                       given from the key frame before it, and decoded)\n"
        "  --preview-source PNG written as it is before encoding, with the same\n"
        "                       crop, size, aspect and deinterlacing\n"
        "  --resume-check       say whether the same command without it would go on\n"
        "                       from chunks an earlier encode kept beside OUTPUT;\n"
        "                       it encodes nothing, writes nothing and waits for\n"
        "                       nothing. One line on standard output, exit status 0\n"
        "                       (1 and the reason on standard error for an input\n"
        "                       that cannot be read):\n"
        "                         resume share=P     the kept chunks fit: P % of the\n"
        "                                            range would not be encoded again\n"
        "                         resume none        nothing is kept\n"
        "                         resume changed reason=WHY\n"
        "                                            chunks are kept, but by other\n"
        "                                            options, from another input or by\n"
        "                                            another ffmpeg: it would start\n"
        "                                            afresh\n"
        "                         resume running     an encode of OUTPUT runs now\n"
        "\n"
        "Standard error shows the input's length, then the position reached within\n"
        "the encoded range. Exit status: 0 on success, 1 for a bad command line or\n"
        "input or a result that fails its check, ffmpeg's own status when ffmpeg\n"
        "fails, 128 plus the signal number\n"
        "when stopped by a signal.\n"
        "\n"
        "Environment: FFMPEG2THEORA_FFMPEG and FFMPEG2THEORA_FFPROBE name the ffmpeg\n"
        "and ffprobe programs to run (default: found on the search path).\n"
        "\n"
        "The pictures of a seekable input are encoded in chunks, a whole number of\n"
        "key frame intervals each, by one worker per core, each taking the next\n"
        "chunk when done, the sound beside them, and the chunks joined: when the\n"
        "range holds enough work to gain by it (about 15 million pixels in all, and\n"
        "two key frame intervals; with FFMPEG2THEORA_PARALLEL_MIN set, that many\n"
        "seconds or more). The chunks wait in a hidden directory beside OUTPUT (for\n"
        "a device, FIFO or standard output, in the temporary directory) until the\n"
        "join: that needs free space there of about the size of the output, besides\n"
        "the output itself; and each worker is an ffmpeg of its own, with the\n"
        "memory one process takes. FFMPEG2THEORA_PARALLEL=0 encodes in one process\n"
        "always, 1 with one worker per core whatever the length, a number above 1\n"
        "with that many workers. An input whose key frames cannot be found, a\n"
        "chunk that cannot be cut exactly, chunks that cannot be joined or do not\n"
        "make a valid Ogg file once joined, a temporary directory that cannot be\n"
        "made, or too few files that may be open (ulimit -n) for the workers: the\n"
        "encode is made in one process instead, and a line says so. An input\n"
        "whose time stamps go back or leap (recordings joined end to end) is\n"
        "encoded whole in one process, as ffmpeg reads it; its length shows as\n"
        "N/A.\n"
        "FFMPEG2THEORA_STATS=1 adds what each chunk took and how busy the workers\n"
        "were, on lines of their own at the end.\n"
        "\n"
        "Beside a file OUTPUT the chunks wait in .OUTPUT.chunks, with a manifest\n"
        "of what they were made from. An encode that does not complete (stopped,\n"
        "killed, a full disk, a failed rename) keeps its finished chunks there and\n"
        "says so: the same command, run again, checks them, encodes only what is\n"
        "missing and writes the file an uninterrupted run writes. A chunk is used\n"
        "again only while the input still holds the pictures it was made from\n"
        "(whatever the input is called: through a link or another path), the\n"
        "sound only while the input is the same file, unchanged. Another option or\n"
        "another ffmpeg encodes afresh, the stale chunks removed; so does\n"
        "--restart. Success removes the directory.\n");
    return text + staleChunksText();
}
