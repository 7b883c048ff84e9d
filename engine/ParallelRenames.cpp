#include "engine/ParallelRenames.h"

#include "engine/DirectoryWalk.h"
#include "engine/FileNameMode.h"

#include <algorithm>

namespace quarvel {

namespace {

// A folder's files are renamed in pieces of this many entries, each
// recorded once it is done: the renames stay close behind the records
// (a stalled log stalls them), and a stop ends them soon.
constexpr std::size_t kPieceEntries = 64;
// Pieces under way per job: enough for the workers to be busy in several
// folders at once, few enough that the folders being renamed are mostly
// among the walk's listings kept open (ListedFolders).
constexpr std::size_t kPiecesPerJob = 8;

// What became of one entry of a folder's listing.
enum class Outcome : unsigned char
{
    Folder,       // a subfolder: only a progress step
    Unchanged,    // the new name is the old one
    SearchFailed, // the expression's search failed; `status` says why
    Renamed,      // renamed to `newName`, or failed with `status`
};

struct EntryOutcome
{
    Outcome outcome = Outcome::Folder;
    std::string newName;
    Status status;
};

} // namespace

struct ParallelRenames::FolderListing
{
    std::string relative;
    std::string folder; // the start folder joined with `relative`
    std::vector<DirEntry> entries;
};

struct ParallelRenames::Piece
{
    std::shared_ptr<const FolderListing> listing;
    std::size_t begin = 0; // entries [begin, end) of the listing
    std::size_t end = 0;
    std::vector<EntryOutcome> outcomes; // entries[begin + i]'s at i, for those handled
};

bool ParallelRenames::suits(RunContext& run)
{
    const RunOptions& options = run.options;
    return options.jobs > 1 && !options.interactive && options.outputs.inPlace &&
           !options.outputs.copyFolder && run.fs.concurrentStaging();
}

ParallelRenames::ParallelRenames(RunContext& run, const RegexMatcher* regex) : m_run(run)
{
    const int jobs = run.options.jobs;
    for (int worker = 0; worker < jobs; ++worker)
        m_rules.push_back(std::make_unique<NameRule>(run.options, regex));
    // The run's thread is one of the jobs: it renames too while it waits.
    m_pipeline = std::make_unique<OrderedPipeline>(
        jobs - 1, kPiecesPerJob * static_cast<std::size_t>(jobs),
        [this] { return StopRequested(); }, OrderedPipeline::OnStop::CommitStarted);
}

ParallelRenames::~ParallelRenames() = default;

bool ParallelRenames::StopRequested()
{
    if (!m_run.StopRequested())
        return false;
    m_stopping.store(true, std::memory_order_relaxed);
    return true;
}

// The folder is listed here, on the run's thread, so that its pieces are
// known; the pieces of one folder are renamed one after the other.
void ParallelRenames::MorphFolder(const std::string& relativePath, std::vector<DirEntry>* listing)
{
    auto listed = std::make_shared<FolderListing>();
    listed->relative = relativePath;
    listed->folder = m_run.options.selection.startFolder + relativePath;
    const bool ok = static_cast<bool>(SelectedEntries(
        m_run.fs, listed->folder, m_run.options.selection.mask, listing, listed->entries));
    const auto started = [this, listed] {
        m_run.FolderStarted(listed->relative);
        m_run.StepProgress();
    };
    if (!ok || listed->entries.empty()) {
        m_pipeline->add({}, started);
        return;
    }
    for (std::size_t begin = 0; begin < listed->entries.size(); begin += kPieceEntries) {
        auto piece = std::make_shared<Piece>();
        piece->listing = listed;
        piece->begin = begin;
        piece->end = std::min(listed->entries.size(), begin + kPieceEntries);
        OrderedPipeline::Commit commit = [this, piece] { Commit(*piece); };
        if (begin == 0)
            commit = [this, piece, started] {
                started();
                Commit(*piece);
            };
        m_pipeline->add([this, piece](int worker) { Rename(*piece, worker); }, std::move(commit),
                        begin != 0);
    }
}

void ParallelRenames::Rename(Piece& piece, int worker)
{
    const FolderListing& listing = *piece.listing;
    const NameRule& rule = *m_rules[static_cast<std::size_t>(worker)];
    std::string source = listing.folder;
    std::string target = listing.folder;
    const std::size_t folderSize = listing.folder.size();
    piece.outcomes.reserve(piece.end - piece.begin);
    for (std::size_t i = piece.begin; i < piece.end; ++i) {
        if (m_stopping.load(std::memory_order_relaxed))
            break;
        const DirEntry& entry = listing.entries[i];
        EntryOutcome& done = piece.outcomes.emplace_back();
        if (entry.isDirectory())
            continue;
        std::string newName = rule.newName(entry.name, &done.status);
        if (!done.status) {
            done.outcome = Outcome::SearchFailed;
            continue;
        }
        if (newName == entry.name) {
            done.outcome = Outcome::Unchanged;
            continue;
        }
        done.outcome = Outcome::Renamed;
        source.replace(folderSize, std::string::npos, entry.name);
        target.replace(folderSize, std::string::npos, newName);
        done.status = checkedName(newName);
        if (done.status)
            done.status = MoveListedFile(m_run.fs, source, target);
        done.newName = std::move(newName);
    }
}

// The records a serial run makes for the entries handled, in their order.
void ParallelRenames::Commit(const Piece& piece)
{
    const FolderListing& listing = *piece.listing;
    for (std::size_t i = 0; i < piece.outcomes.size(); ++i) {
        m_run.StepProgress();
        const EntryOutcome& done = piece.outcomes[i];
        if (done.outcome == Outcome::Folder)
            continue;
        m_run.CountFile();
        std::string source = listing.folder + listing.entries[piece.begin + i].name;
        if (done.outcome == Outcome::SearchFailed) {
            m_run.record(OperationKind::SearchFile, std::move(source), {},
                         OperationStatus::failed(done.status));
        } else if (done.outcome == Outcome::Renamed) {
            m_run.record(OperationKind::Rename, std::move(source), listing.folder + done.newName,
                         done.status ? OperationStatus::done()
                                     : OperationStatus::failed(done.status));
            if (done.status)
                ++m_renamed;
        }
    }
}

int ParallelRenames::Finish()
{
    m_pipeline->drain();
    return m_renamed;
}

} // namespace quarvel
