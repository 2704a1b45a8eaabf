// The record as a tree in the window: the line shown and its alternatives,
// the branches made main, reordered or deleted, the comments and the game
// details, and finished games going into the tree.
#include <algorithm>

#include "position/position.h"
#include "position/sfen.h"
#include "position/text_encoding.h"
#include "records/ki2_moves.h"
#include "records/record_writer.h"
#include "ui/game_controller.h"
#include "ui/ui_texts.h"

namespace nusari {

NodeId GameController::shownNode() const {
    if (gameState != GameState::NoGame) return kNoNode;
    const int32_t ply = fields.plyCount;
    if (ply == 0) return kRootNode;
    if (ply < 0 || ply > static_cast<int32_t>(line_.size())) return kNoNode;
    return line_[static_cast<std::size_t>(ply - 1)];
}

void GameController::showLine(NodeId end) {
    const int32_t shown = fields.plyCount;
    lineToRecord(tree, end, *record, record->boardTurned != 0);
    line_ = tree.pathTo(end);
    fields.plyCount = std::clamp(shown, 0, record->length);
    ShowRecordPly();
}

GameController::BranchView GameController::ShownBranches() const {
    BranchView view;
    const NodeId shown = shownNode();
    if (shown == kNoNode || shown == kRootNode) return view;
    const NodeId parent = tree.node(shown).parent;
    const std::vector<NodeId>& alternatives = tree.node(parent).children;
    if (alternatives.size() < 2) return view;
    const Position before = tree.positionAt(parent);
    const Side mover = tree.sideToMoveAt(parent);
    const int32_t previousTo = parent == kRootNode ? 0 : destinationOf(tree.node(parent).move);
    for (std::size_t i = 0; i < alternatives.size(); ++i) {
        const Move& m = tree.node(alternatives[i]).move;
        view.lines.push_back(std::string(mover == Side::Lower ? "▲" : "△") +
                             toUtf8(ki2MoveText(before, m, mover, previousTo)));
        if (alternatives[i] == shown) view.currentRow = static_cast<int32_t>(i);
    }
    return view;
}

void GameController::SelectBranch(int32_t row) {
    const NodeId shown = shownNode();
    if (shown == kNoNode || shown == kRootNode) return;
    const std::vector<NodeId>& alternatives = tree.node(tree.node(shown).parent).children;
    if (row < 0 || row >= static_cast<int32_t>(alternatives.size())) return;
    showLine(tree.lineEndFrom(alternatives[static_cast<std::size_t>(row)]));
}

void GameController::PromoteBranch() {
    const NodeId shown = shownNode();
    if (shown == kNoNode || shown == kRootNode || analysis_) return;
    tree.promoteToMainLine(shown);
    recordChanged_ = true;
    showLine(line_.back());
}

void GameController::MoveBranch(int32_t step) {
    const NodeId shown = shownNode();
    if (shown == kNoNode || shown == kRootNode || analysis_ || !tree.moveAmongSiblings(shown, step))
        return;
    recordChanged_ = true;
    showLine(line_.back());
}

void GameController::DeleteBranch() {
    const NodeId shown = shownNode();
    if (shown == kNoNode || shown == kRootNode || analysis_ || !ui.ask(kDeleteBranchQuestion))
        return;
    const NodeId parent = tree.removeSubtree(shown);
    if (parent == kNoNode) return;
    recordChanged_ = true;
    --fields.plyCount;
    showLine(tree.lineEndFrom(parent));
}

EvaluationLines GameController::ShownEvaluation(bool winRate) const {
    if (gameState != GameState::NoGame) return {};
    if (studyScores_.empty()) return EvaluationLinesOf(tree, line_, winRate, analysisPrefs.winRateScale);
    // 検討's scores are kept by position, which stays right whatever
    // becomes of the tree.
    return EvaluationLinesOf(tree, line_, winRate, analysisPrefs.winRateScale,
                             [this](NodeId node) -> std::optional<int32_t> {
                                 const auto it = studyScores_.find(
                                     toSfen(tree.positionAt(node), tree.sideToMoveAt(node), 1));
                                 if (it == studyScores_.end()) return std::nullopt;
                                 return it->second;
                             });
}

std::string GameController::ShownComment() const {
    const NodeId shown = shownNode();
    return shown == kNoNode ? std::string() : tree.node(shown).comment;
}

void GameController::EditComment(const std::string& text) {
    const NodeId shown = shownNode();
    if (shown == kNoNode || analysis_ || tree.node(shown).comment == text) return;
    tree.node(shown).comment = text;
    recordChanged_ = true;
}

GameController::GameDetails GameController::ShownDetails() const {
    return GameDetails{tree.firstName, tree.secondName, tree.headers};
}

void GameController::EditDetails(const GameDetails& details) {
    if (gameState != GameState::NoGame || analysis_) return;
    const GameDetails before = ShownDetails();
    if (details.firstName == before.firstName && details.secondName == before.secondName &&
        details.headers == before.headers) {
        return;
    }
    tree.firstName = details.firstName;
    tree.secondName = details.secondName;
    tree.headers.clear();
    for (const RecordHeader& h : details.headers) {
        if (!h.key.empty() && !h.value.empty()) tree.headers.push_back(h);
    }
    recordChanged_ = true;
    // The names and times shown come from the tree.
    showLine(line_.empty() ? kRootNode : line_.back());
}

// A game continued from a ply of the tree plays on from that node: the
// moves that are there already are followed, the first new one begins a
// branch. A game that cannot be laid on the node (another start) replaces
// the record, as a new game does.
void GameController::commitGameToTree() {
    const int32_t plies = std::clamp(record->length, 0, kMaxRecordPlies);
    NodeId at = gameBase_;
    gameBase_ = kNoNode;
    Position start = tree.positionAt(std::max(at, kRootNode));
    start[kLowerTimeCell] = 0;
    start[kUpperTimeCell] = 0;
    const bool fits = at != kNoNode && start == standardEntry(*record, 0) &&
                      tree.sideToMoveAt(at) == standardSideToMove(*record, 0);
    if (!fits) {
        recordToTree(*record, tree);
        line_ = tree.mainLine();
        keepEngineScores();
        return;
    }
    // The game's own names and times stay on the board; the tree keeps its own.
    const GameRecord& game = *record;
    for (int32_t ply = 1; ply <= plies && at != kNoNode; ++ply) {
        const Side mover = standardSideToMove(game, ply - 1);
        const Move m = moveOfPly(standardEntry(game, ply - 1), standardEntry(game, ply), mover);
        const NodeId next = tree.addCheckedMove(at, m);
        if (next == kNoNode) break;
        const int32_t cell = timeCellOfPly(game, ply);
        tree.node(next).timeMs =
            (int64_t{game.history[static_cast<std::size_t>(ply)][cell]} -
             game.history[static_cast<std::size_t>(ply - 1)][cell]) *
            1000;
        at = next;
    }
    // A game stopped before its first move leaves the line it stood on as it was.
    if (tree.node(at).children.empty()) tree.node(at).ending = game.ending;
    const NameField firstName = game.firstName;
    const NameField secondName = game.secondName;
    const std::string startTime = game.startTime;
    const std::string endTime = game.endTime;
    fields.plyCount = tree.node(at).ply;
    lineToRecord(tree, at, *record, game.boardTurned != 0);
    line_ = tree.pathTo(at);
    record->firstName = firstName;
    record->secondName = secondName;
    record->startTime = startTime;
    record->endTime = endTime;
    keepEngineScores();
}

// The game's plies are the line's first plies: the tree and the game start
// at the same position.
void GameController::keepEngineScores() {
    const std::size_t plies = std::min(plyScores_.size(), line_.size());
    for (std::size_t i = 0; i < plies; ++i) {
        if (!plyScores_[i]) continue;
        RecordNode& node = tree.node(line_[i]);
        node.hasScore = true;
        node.score = *plyScores_[i];
    }
    plyScores_.clear();
}

bool GameController::saveTree() {
    const std::string path = ui.chooseFile(FileDialog::SaveRecord, kNewRecordName);
    if (path.empty() || WriteRecord(tree, path, ui) != 1) return false;
    recordChanged_ = false;
    return true;
}

bool GameController::mayReplaceRecord() {
    if (!recordChanged_) return true;
    switch (ui.askToSave(kSaveChangesQuestion)) {
        case SaveChoice::Save:
            return saveTree();
        case SaveChoice::Discard:
            recordChanged_ = false;
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

}  // namespace nusari
