// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvdctl's transfer commands: send, get, scan, title. They run the window's send and receive
// code on a list built from the command line; every question is asked before anything changes.
#include "audio/TagColumns.h"
#include "cli/CommandDeviceSupport.h"
#include "cli/ListingBuffer.h"
#include "core/LocalPath.h"
#include "core/RegularFile.h"
#include "core/StoredSettings.h"
#include "localfiles/FileExtension.h"
#include "localfiles/FolderScanner.h"
#include "localfiles/LocalFileModel.h"
#include "localfiles/SizeFormat.h"
#include "transfer/ReceiveFiles.h"
#include "transfer/SendFiles.h"
#include "transfer/TitleRenderer.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <csignal>
#include <numeric>
#include <unistd.h>

namespace
{

const QString Yes = QStringLiteral("--yes");
const QString No = QStringLiteral("--no");
const QString View = QStringLiteral("--view");
// The LCD selector that shows the file name rather than tag columns.
constexpr int DisplayFileName = 1;

// Ctrl+C lets the file in flight finish, then cancels the rest, so no temporary file stays behind.
std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int)
{
    interrupted = true;
    std::signal(SIGINT, SIG_DFL); // a second Ctrl+C stops at once
}

// Catches Ctrl+C for the life of one transfer.
class InterruptGuard
{
public:
    InterruptGuard() : m_previous(std::signal(SIGINT, onInterrupt)) {}
    ~InterruptGuard() { std::signal(SIGINT, m_previous); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    void (*m_previous)(int);
};

// Progress on stderr, one line per file, only for a person watching a terminal.
// A question nobody could answer stops the batch before its first file, so nothing changes.
class CliObserver : public TransferObserver
{
public:
    CliObserver(QTextStream& err, const CliPrompt& prompt)
        : m_err(err), m_prompt(prompt), m_show(isatty(STDERR_FILENO))
    {
    }

    bool stopRequested() const override { return interrupted; }

    bool fileStarting(const TransferProgress& p) override
    {
        if (interrupted || m_prompt.unanswered())
            return false;
        if (m_show)
            m_err << '[' << p.number << '/' << p.total << "] " << p.name << " ("
                  << mFileAPI::FormatSize(p.bytes) << " bytes)\n"
                  << Qt::flush;
        return true;
    }
    void fileFinished(const TransferProgress&, bool) override {}

private:
    QTextStream& m_err;
    const CliPrompt& m_prompt;
    bool m_show;
};

// The settings ZVD keeps (FONT, Display), read by the window's rules, so zvdctl renders titles
// as the window would.
const StoredSettings::Values& storedSettings()
{
    static const StoredSettings::Values values = [] {
        StoredSettings::Values loaded;
        loaded.load(*StoredSettings::open());
        return loaded;
    }();
    return values;
}

// --font, --size, --bold over the stored LCD font; false (with a message) on a bad size.
bool lcdFontFrom(const ParsedArgs& parsed, LcdTitleFont& font, QTextStream& err)
{
    const StoredSettings::LcdFont& stored = storedSettings().font;
    font.face = stored.face;
    font.points = stored.points;
    font.bold = stored.bold;
    font.face = parsed.value(QStringLiteral("--font"), font.face);
    if (parsed.has(QStringLiteral("--bold")))
        font.bold = true;
    const QString size = parsed.value(QStringLiteral("--size"));
    if (!size.isEmpty()) {
        bool ok = false;
        font.points = size.toDouble(&ok);
        if (!ok || font.points <= 0 || font.points > 200) {
            err << "zvdctl: --size takes a point size such as 16\n";
            return false;
        }
    }
    return true;
}

// The status of a transfer whose questions prompt answered; see CliPrompt.
int answeredStatus(CommandContext& c, const CliPrompt& prompt, const TransferOutcome& outcome)
{
    if (prompt.unanswered()) {
        c.err << "zvdctl: unanswered question (use --yes or --no): " << *prompt.unanswered() << '\n';
        return ExitUsage;
    }
    if (outcome.playerGone)
        return ExitNoPlayer;
    return outcome.status == TransferOutcome::Status::Done ? ExitDone : ExitFailed;
}

// The local list a send works on: the given files, in argument order, as the window lists them.
// Tag columns are read only when the LCD text is made of them: with the file name shown, a
// music file whose search for a tag runs to its end would cost a second full read.
bool localRowsFor(const QStringList& files, bool withTags, std::vector<LocalFileRow>& rows, QTextStream& err)
{
    for (const QString& file : files) {
        const QFileInfo info(file);
        qint64 size = 0;
        QString why = RegularFile::problem(file, &size);
        if (why.isEmpty())
            why = LocalPath::playerNameProblem(info.fileName());
        if (!why.isEmpty()) {
            err << "zvdctl: " << file << ": " << why << '\n';
            return false;
        }
        LocalFileRow row;
        row.name = info.fileName();
        row.path = QDir::toNativeSeparators(info.absoluteFilePath());
        row.size = size;
        row.sizeText = mFileAPI::FormatSize(row.size);
        if (withTags && mFileAPI::hasTagColumns(row.name))
            mFileAPI::FillTagColumns(row.path, row);
        rows.push_back(row);
    }
    return true;
}

int send(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseArgs(c.args, {Yes, No, QStringLiteral("--bold")},
                   {View, QStringLiteral("--lcd"), QStringLiteral("--font"), QStringLiteral("--size"),
                    QStringLiteral("--quality")},
                   parsed, c.err))
        return ExitUsage;
    const std::optional<ConversionQuality> quality = ConversionQuality::parse(
        parsed.value(QStringLiteral("--quality"), storedSettings().conversionQuality));
    PlayerView view = PlayerView::All;
    LcdTitleFont font;
    bool lcdOk = true;
    const int lcd =
        parsed.value(QStringLiteral("--lcd"), QString::number(storedSettings().displayName)).toInt(&lcdOk);
    if (parsed.positional.isEmpty() || !parsePlayerView(parsed.value(View, QStringLiteral("all")), view) ||
        !lcdOk || !lcdFontFrom(parsed, font, c.err) ||
        (!quality && !parsed.value(QStringLiteral("--quality")).isEmpty())) {
        c.err << "usage: zvdctl send [--view V] [--yes|--no] [--lcd N] [--font NAME] [--size PT] [--bold] "
                 "[--quality V0..V9|CBR128|CBR192|CBR256|CBR320] FILE...\n";
        return ExitUsage;
    }
    std::vector<LocalFileRow> rows;
    if (!localRowsFor(parsed.positional, lcd != DisplayFileName, rows, c.err))
        return ExitFailed;
    CliPlayer player(c);
    if (const int result = player.connect(view); result != ExitDone)
        return result;
    LocalFileModel local;
    local.setRows(std::move(rows));
    CliPrompt prompt(cliAnswer(parsed), c.err);
    CliObserver observer(c.err, prompt);
    const InterruptGuard guard;
    std::vector<int> selected(std::size_t(local.count()));
    std::iota(selected.begin(), selected.end(), 0);
    SendRequest request{player.session(),
                        prompt,
                        local,
                        selected,
                        lcd,
                        titleBlockMaker(font),
                        &observer,
                        quality.value_or(ConversionQuality())};
    const TransferOutcome outcome = SendSelectedFiles(request);
    if (outcome.status == TransferOutcome::Status::Cancelled && !prompt.unanswered())
        c.err << "zvdctl: interrupted; " << outcome.batchSize - outcome.transferred
              << " files were not sent\n";
    return answeredStatus(c, prompt, outcome);
}

// The local files a receive compares names with: the folder as every view lists it.
std::vector<LocalFileRow> everyListedFile(const QString& folder)
{
    std::vector<LocalFileRow> rows;
    for (mFileAPI::ViewTab tab :
         {mFileAPI::ViewTab::Audio, mFileAPI::ViewTab::Record, mFileAPI::ViewTab::Hdd}) {
        std::vector<LocalFileRow> some = mFileAPI::scanFolderRows(
            folder, mFileAPI::ScanRule::forView(tab), [](const QString&) { return TagColumns(); });
        rows.insert(rows.end(), some.begin(), some.end());
    }
    return rows;
}

mFileAPI::ViewTab localTabFor(PlayerView view)
{
    switch (view) {
    case PlayerView::Audio:
        return mFileAPI::ViewTab::Audio;
    case PlayerView::Record:
        return mFileAPI::ViewTab::Record;
    default:
        return mFileAPI::ViewTab::Hdd;
    }
}

int get(CommandContext& c)
{
    ParsedArgs parsed;
    if (!parseArgs(c.args, {Yes, No}, {View, QStringLiteral("--to")}, parsed, c.err))
        return ExitUsage;
    PlayerView view = PlayerView::All;
    if (parsed.positional.isEmpty() || !parsePlayerView(parsed.value(View, QStringLiteral("all")), view)) {
        c.err << "usage: zvdctl get [--view V] [--yes|--no] [--to DIR] NAME...\n";
        return ExitUsage;
    }
    const QString folder =
        QFileInfo(parsed.value(QStringLiteral("--to"), QStringLiteral("."))).absoluteFilePath();
    if (!QFileInfo(folder).isDir()) {
        c.err << "zvdctl: not a folder: " << folder << '\n';
        return ExitFailed;
    }
    CliPlayer player(c);
    if (const int result = player.connect(view); result != ExitDone)
        return result;
    std::vector<int> selected;
    for (const QString& name : parsed.positional) {
        const int row = player.findRow(name, selected);
        if (row < 0)
            return ExitFailed;
        selected.push_back(row);
    }
    LocalFileModel local;
    local.setRows(everyListedFile(folder));
    CliPrompt prompt(cliAnswer(parsed), c.err);
    CliObserver observer(c.err, prompt);
    const InterruptGuard guard;
    ReceiveRequest request{player.session(), prompt, local, selected, folder, localTabFor(view), &observer};
    return answeredStatus(c, prompt, ReceiveSelectedFiles(request));
}

int scan(CommandContext& c)
{
    ParsedArgs parsed;
    mFileAPI::ViewTab tab = mFileAPI::ViewTab::Audio;
    if (!parseArgs(c.args, {}, {View}, parsed, c.err) || parsed.positional.size() != 1 ||
        !mFileAPI::parseViewTab(parsed.value(View, QStringLiteral("audio")), tab)) {
        c.err << "usage: zvdctl scan [--view audio|record|hdd] DIR\n";
        return ExitUsage;
    }
    // The window lists a tree node that is no folder as empty; a script that names a folder
    // which is not there is told so, as get --to does.
    const QString folder = parsed.positional.first();
    if (!LocalPath::isFolder(folder)) {
        c.err << "zvdctl: not a folder: " << folder << '\n';
        return ExitFailed;
    }
    QStringList refused;
    // The process ends once the listing is written: its rows are left for the system to take
    // back with the rest, rather than freed one string at a time (for a folder of 10,000 files
    // that cost more than formatting them).
    static auto* const kept = new std::vector<LocalFileRow>();
    *kept = mFileAPI::scanFolderRows(folder, mFileAPI::ScanRule::forView(tab), {}, &refused);
    const std::vector<LocalFileRow>& rows = *kept;
    for (const QString& line : refused)
        c.err << "zvdctl: not listed: " << line << '\n';
    // The listing is made whole and written once: the stream's buffer, fed five fields at a
    // time, spent more on moving its contents than the folder's tags cost to read.
    qsizetype length = 0;
    for (const LocalFileRow& row : rows)
        length += row.name.size() + row.sizeText.size() + row.title.size() + row.artist.size() +
                  row.genre.size() + 5;
    ListingBuffer listing(length);
    // The rows' texts lie wherever the reading threads put them. Asking for those of a few rows
    // ahead lets the memory fetch them side by side rather than one miss at a time: it halved the
    // time of this loop for 10,000 rows.
    constexpr std::size_t Ahead = 8;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + Ahead < rows.size()) {
            const LocalFileRow& next = rows[i + Ahead];
            for (const QString* field : {&next.name, &next.sizeText, &next.title, &next.artist, &next.genre})
                ListingBuffer::prefetch(field->constData());
        }
        const LocalFileRow& row = rows[i];
        listing << row.name << '\t' << row.sizeText << '\t' << row.title << '\t' << row.artist << '\t'
                << row.genre << '\n';
    }
    listing.writeTo(c.out);
    return ExitDone;
}

int title(CommandContext& c)
{
    ParsedArgs parsed;
    LcdTitleFont font;
    bool valueOk = true;
    if (!parseArgs(c.args, {QStringLiteral("--bold")},
                   {QStringLiteral("--font"), QStringLiteral("--size"), QStringLiteral("--value"),
                    QStringLiteral("-o")},
                   parsed, c.err))
        return ExitUsage;
    const int value = parsed.value(QStringLiteral("--value"), QStringLiteral("0")).toInt(&valueOk);
    const QString output = parsed.value(QStringLiteral("-o"));
    if (parsed.positional.size() != 1 || output.isEmpty() || !valueOk || value < -32768 || value > 32767 ||
        !lcdFontFrom(parsed, font, c.err)) {
        c.err << "usage: zvdctl title [--font NAME] [--size PT] [--bold] [--value N] -o FILE TEXT\n";
        return ExitUsage;
    }
    if (!writeTitleBlockFile(output, MakeTitleBlock(parsed.positional.first(), qint16(value), font))) {
        c.err << "zvdctl: cannot write " << output << '\n';
        return ExitFailed;
    }
    return ExitDone;
}

CommandRegistrar sendCommand{
    "send", "send [--view V] [--yes|--no] [--lcd N] [--font NAME] [--size PT] [--bold] [--quality Q] FILE...",
    &send};
CommandRegistrar getCommand{"get", "get [--view V] [--yes|--no] [--to DIR] NAME...", &get};
CommandRegistrar scanCommand{"scan", "scan [--view V] DIR", &scan};
CommandRegistrar titleCommand{"title", "title [--font NAME] [--size PT] [--bold] [--value N] -o FILE TEXT",
                              &title};

} // namespace
