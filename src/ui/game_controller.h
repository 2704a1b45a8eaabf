// The main window's state and everything it does, without any window code:
// starting a game, the human's and the computer's moves, the clicks on the
// board picture, the settings page, start-up and shut-down. The window
// forwards its events here and shows what the GameView hooks tell it; tests drive
// the same object with a scripted view.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "aik/engine_state.h"
#include "game/clock_setting.h"
#include "game/game.h"
#include "game/game_host.h"
#include "game/human_player.h"
#include "game/tournament_run.h"
#include "game/remote_link.h"
#include "position/game_fields.h"
#include "position/setup.h"
#include "records/game_record.h"
#include "records/record_tree.h"
#include "think/clock.h"
#include "think/think_observer.h"
#include "think/think_request.h"
#include "settings/program_folders.h"
#include "settings/settings.h"
#include "settings/usi_engines.h"
#include "ui/board_hit.h"
#include "ui/board_scene.h"
#include "ui/evaluation_lines.h"
#include "ui/analysis_prefs.h"
#include "ui/record_analysis.h"
#include "ui/game_view.h"
#include "ui/study_view.h"
#include "ui/position_editor.h"
#include "study/live_analyser.h"
#include "study/move_explanation.h"
#include "ui/usi_opponent.h"

namespace nusari {

// The inputs of the new-game page (taikyoku_tab). Texts are UTF-8.
struct NewGamePage {
    // Selected row of taikyoku_teai, or -1 when a text was typed into it.
    int32_t presetRow = kPresetEven;
    std::string presetText = "平手";       // what the list shows
    std::string playerName = "YOU";        // namae_you, or a name-box command
    std::vector<std::string> engineNames;  // taisenn_com
    std::vector<std::string> enginePaths;  // taisenn_com_pasu, row for row
    int32_t engineRow = -1;                // -1: nothing selected
    bool computerFirst = false;            // sengo_2 checked, else sengo_1
    bool linkChecked = false;              // tuusinC
    // The rules at the board: a move that leaves the human's king in check
    // or mates by a pawn drop is refused with a message; else (the default)
    // it is played and loses.
    bool refuseFouls = false;
    // 人間同士: a second person plays the computer's side on the same board
    // (not over the link, not in a continuous match); 対戦COM is not used.
    bool humanOpponent = false;
    // COM同士: the engine of `engineRow` and that of `secondEngineRow` (the
    // engine list's rows) play one game from the preset (継続: the position
    // shown); `computerFirst` makes the first one 先手. The game is played
    // as a tournament game and then opened as the record.
    bool computersOnly = false;
    int32_t secondEngineRow = -1;
    // The time list's row (ClockPresetRow) and each side's clock, 先手's
    // first; kClockPerMove is the computer's own limit per move, without
    // clocks.
    int32_t clockRow = kClockPerMove;
    TimeControl clocks[2] = {*clockPresetSetting(kClockTenAndThirty), *clockPresetSetting(kClockTenAndThirty)};
};

// The edits of the settings page (settei_tab) and its Ok button.
enum class SettingsEdit : int32_t { TimeLimit, Hash, PortName, RandomSeed };

struct SettingsPage {
    std::string timeLimit;   // zikann_max_ran
    std::string hash;        // data_ookisa_ran
    std::string portName;    // com_poto_ran
    std::string randomSeed;  // ransuu_tane_ran
    bool okEnabled = false;  // settei_iiyo
};

enum class MouseButton : int32_t { Left, Right, Middle };

// The four replay steps of the buttons modoru_max, modoru_1, susumu_1,
// susumu_max and of the cursor and keypad keys.
enum class ReplayStep : int32_t { ToStart, Back, Forward, ToEnd };

// Decides the computer's reply; ThinkMove, or a script in tests.
using ThinkFunction = std::function<Move(EngineState&, const ThinkRequest&, ThinkObserver&)>;
// Runs `work` (the computer's think, given a Ui it may use from where it
// runs) and then `done` on the controller's thread: at once by default, on a
// worker thread in the window so that the window never waits for a search.
using BackgroundRunner =
    std::function<void(std::function<void(Ui&)> work, std::function<void()> done)>;
// Allocates the hash arrays; AllocHashTables, or a failing stand-in in tests.
using HashAllocator = std::function<int32_t(EngineState&, Ui&)>;
// Calls `then` once `ms` milliseconds have passed, without blocking the
// window: a single-shot timer, or at once in tests.
using PauseFunction = std::function<void(int32_t ms, std::function<void()> then)>;

// The wait before the computer's first move in a continued match.
inline constexpr int32_t kMatchPauseMs = 30000;

class GameController : public GameHost {
  public:
    // Everything beside the program in `programFolder`.
    GameController(GameView& ui, SettingsStore& store, std::filesystem::path programFolder);
    GameController(GameView& ui, SettingsStore& store, ProgramFolders folders);
    ~GameController() override;
    GameController(const GameController&) = delete;
    GameController& operator=(const GameController&) = delete;

    // Life cycle.
    // The window creation's steps after sizing; -1 when the program must end
    // at once (no aik folder, no hash arrays), else 1.
    int32_t StartUp();
    // The 対戦COM list: the .aik engines, then the registered USI engines
    // (path "USI:<name>"); false when there is no aik folder.
    bool RefreshEngineList();
    // The choices of the remote side beside 通信対戦: the settings page's
    // port, then the registered USI engines; the row the port name selects.
    std::vector<std::string> LinkTargets() const;
    int32_t LinkTargetRow() const;
    // Row 0 takes the settings page's port again, row k the k-th USI
    // engine ("USI:<name>").
    void SelectLinkTarget(int32_t row);
    // Whether the window may close now (asks while a game runs).
    bool CloseQuery();
    // The close event: closes the link, frees the hash arrays and rewrites
    // the settings file with the window position given.
    void ShutDown(int32_t top, int32_t left);

    // The game.
    void StartGame();
    // The clocks. A preset row sets both sides' clocks; a side's own
    // setting (0 先手, 1 後手) makes the row the one it matches.
    void SelectClockPreset(int32_t row);
    void SetClock(int32_t senteOrGote, const TimeControl& setting);
    // True while the game runs on the clocks of the new-game page (not on
    // the computer's limit per move, not over the link).
    bool ClockGame() const { return clockGame_; }
    // The window's clock timer: the side to move loses on time when its
    // clock and byoyomi have run out; the last seconds are counted; the
    // clocks on the board are redrawn when they show another second.
    void OnClockTick();
    // What each side's clock shows now, 先手's first; empty without clocks.
    std::vector<std::string> ShownClocks() const;
    // The clock the game runs on; the steady clock, or a test's.
    std::function<int64_t()> now = nowMs;
    void ApplyHumanMove();
    // The lower side's move, decided (by the human or the remote player):
    // made, recorded and drawn; then the computer's whole reply.
    void PlayLowerMove(const Move& m);
    // The computer's move `reply` (or Move::resign()), made, recorded and
    // sent; `thinkMs`, when not negative, is the thinking time measured
    // where the answer came in (a USI engine's); else the time until now counts.
    void ApplyComputerMove(const Move& reply, int64_t thinkMs = -1);
    // Stores the position after a ply of `mover` with the thinking times
    // (the mover's `thinkMs` as above); false when the history is full (the
    // game must stop).
    bool RecordPly(Side mover, int64_t thinkMs = -1);
    void PlaySound(Sound kind) override;
    // A click on the board picture: the human's move in a game, a move into
    // the record while no game runs.
    void OnBoardMouseDown(MouseButton button, int32_t x, int32_t y);
    // The board turned by hand (盤面反転): the picture shows it from the
    // other side, its clicks mapped back; the record and the game are not
    // touched.
    bool viewTurned = false;
    void TurnBoard();
    // Ends the game with a result from the lower side's view: 1 wins,
    // 2 loses, -1 no winner.
    void EndGame(int32_t result, GameEnding ending);
    // Stops the game without a result, ready to be replayed or continued.
    void InterruptGame();
    // Tells the user about a game that has ended (and was logged): in a
    // box that holds nothing up, or in the thinking panel during a match.
    void tellAfterGame(const std::string& text, bool inMatch);
    // Goes back two plies to the lower side's earlier turn.
    void TakeBack();
    // Shows history entry [ply count], the ply count clamped to the record.
    void ShowRecordPly();
    // The plies the move list holds: the game's so far while one runs, the
    // record's otherwise.
    int32_t ListedPlies() const;
    // The move list's lines (MoveListLines of the plies listed) and the row
    // of the ply shown.
    struct MoveListView {
        std::vector<std::string> lines;
        int32_t currentRow = 0;
    };
    MoveListView ShownMoveList() const;
    // A click on the move list's line of `ply` (the result line counts as
    // the last ply): replays to it, as the replay keys do, while no game runs.
    void ReplayTo(int32_t ply);
    void DrawBoard();
    BoardScene ComposeScene() const;
    // Ticks of the poll timer: the link reads, and what the remote answered
    // is acted on.
    void OnPollTimer();
    // Acts on the answers the link has read and not yet given (a test's
    // own poll of the link).
    void TakeLinkAnswers();

    // The tool-bar buttons and the in-game menu entries 待った, 中断 and
    // 投了: each acts only while the lower side is to move, the last two
    // after their question. 中断 also stops a match waiting for its next game.
    void OnMatta();
    void OnTyuudan();
    void OnTouryou();
    // 入玉宣言, after its question: the referee checks the 27-point rule and
    // the human wins or loses by it (not over the link).
    void OnDeclare();
    // The replay buttons (only without a game) and keys (only without a
    // game and with a record).
    void OnReplayButton(ReplayStep step);
    void OnReplayKey(ReplayStep step);
    // The open and save buttons with their file dialogs.
    void OnOpenRecord();
    // Opens the record at `path` as the open button does (a file dropped
    // on the window); only while no game runs.
    void OpenRecordFile(const std::string& path);
    void OnSaveRecord();

    // The record's lines, comments and details, while no game runs.
    // The alternatives of the shown ply ("▲２六歩"), the shown one among
    // them; empty when it has none.
    struct BranchView {
        std::vector<std::string> lines;
        int32_t currentRow = -1;
    };
    BranchView ShownBranches() const;
    // Shows alternative `row` of the shown ply and the line it begins.
    void SelectBranch(int32_t row);
    // The shown ply's move becomes the main line, moves one place up (-1)
    // or down (+1) among its alternatives, or is deleted with everything
    // after it (after a question); the ply before it is shown then.
    void PromoteBranch();
    void MoveBranch(int32_t step);
    void DeleteBranch();
    // The comment of the shown ply (at ply 0 the start's), UTF-8.
    // 棋譜解析 of the line shown, on the worker thread; false while a game
    // or another analysis runs or the line has no move. Stopping keeps
    // what is judged so far.
    bool StartRecordAnalysis(const RecordAnalysisRequest& request);
    void StopRecordAnalysis();
    bool RecordAnalysing() const { return analysis_ != nullptr; }
    // How far 棋譜解析 is, in permille; -1 while none runs.
    int32_t AnalysisPermille() const;
    // 検討: the engines of the engine list at `enginePaths` (.aik files or
    // "USI:<name>") think on the position shown, each on a thread of its
    // own, until StopStudy; only while no game runs. The board's position
    // goes to them as it changes; the window ticks OnStudyTick.
    bool StartStudy(const std::vector<std::string>& enginePaths);
    void StopStudy();
    bool Studying() const { return !studies_.empty(); }
    // Takes the analysers' new reports: the panes change (the view is
    // told) and the board's arrows are drawn again when they moved.
    void OnStudyTick();
    std::vector<StudyPaneView> ShownStudy() const;
    void SetStudyLineCount(int32_t lines);
    void SetStudyScoreFromSente(bool fromSente);
    // A candidate line on the board: its first move shown, the replay
    // keys and buttons stepping through it, until EndPreview or any other
    // step through the record.
    void PreviewStudyLine(int32_t pane, int32_t row);
    void EndPreview();
    bool Previewing() const { return preview_.has_value(); }
    // The line into the record as a branch from the ply shown (the shown
    // line follows it), or its score and moves into the ply's comment.
    enum class LineInsert : int32_t { Branch, Comment };
    bool InsertStudyLine(int32_t pane, int32_t row, LineInsert where);
    // Why an .aik analyser's line: its end position's evaluation taken apart
    // beside the best line's (for the best line: the move played next in
    // the record, or the second line).
    MoveExplanation ExplainStudyLine(int32_t pane, int32_t row);
    // The analysis settings, kept in the settings file when changed.
    AnalysisPrefs analysisPrefs;
    void SetAnalysisPrefs(const AnalysisPrefs& prefs);

    // The evaluation graph's lines of the line shown; empty while a game runs.
    EvaluationLines ShownEvaluation(bool winRate) const;
    std::string ShownComment() const;
    void EditComment(const std::string& text);
    // The record's names and header lines (棋譜情報), UTF-8.
    struct GameDetails {
        std::string firstName;
        std::string secondName;
        std::vector<RecordHeader> headers;
    };
    GameDetails ShownDetails() const;
    void EditDetails(const GameDetails& details);
    // The clipboard's formats: the record, or the position shown.
    enum class CopyFormat : int32_t { Kif, Ki2, Csa, Sfen, Usi, Bod };
    // The record or the shown position as text in `format` (UTF-8); empty
    // while a game runs.
    std::string CopiedText(CopyFormat format) const;
    // Opens the record or position in `text` (pasted or dropped) as a file
    // is opened; false, after its message, when it reads as none.
    bool PasteRecordText(const std::string& text);
    // The position shown and its side to move in the standard frame (先手
    // lower), where the position editor starts from.
    struct ShownSetUpPosition {
        Position position{};
        Side toMove = Side::Lower;
    };
    ShownSetUpPosition ShownSetUp() const;
    // A new record that starts from the position editor's `result`, not
    // yet saved, ready to be played on (preset 継続); only while no game
    // runs, and false when the user keeps the record with unsaved edits.
    bool StartFromSetUp(const SetUpResult& result);
    // True when the record has edits that are not saved.
    bool RecordChanged() const { return recordChanged_; }

    // 連続対局 of engines (the tournament dialog): the engines of the engine
    // list play each other on a thread of their own, the board shows the
    // game in progress. Only while no game, analysis or 検討 runs.
    struct TournamentRequest {
        std::vector<std::string> enginePaths;  // engine-list paths, two or more
        TournamentKind kind = TournamentKind::RoundRobin;
        int32_t gamesPerPairing = 4;
        bool swapColours = true;
        TimeControl time;
        // An openings file (SFEN lines, as nusari-tool match reads); empty:
        // every game from the even start, or from `startSfen` when given.
        std::string openingsPath;
        std::string startSfen;
        // Where the results file and the records go. A folder that holds
        // this tournament's results goes on from them.
        std::filesystem::path folder;
    };
    // False after its message (nothing to play, a bad openings file, a
    // folder that holds another tournament's results).
    bool StartTournament(const TournamentRequest& request);
    // Breaks the game in progress off (it is played again when the same
    // tournament starts again) and lets the engines go.
    void StopTournament();
    bool TournamentRunning() const;
    // Takes the tournament's news: the board shows its game, the dialog is
    // told; a tournament that has ended is let go.
    void OnTournamentTick();
    struct TournamentView {
        std::vector<StandingRow> rows;  // by points
        std::vector<std::string> log;   // one line per finished game
        int32_t played = 0;
        int32_t total = 0;
        bool running = false;
        // "第3局 ▲攻め △標準 42手", and each side's last report
        // ("▲攻め 深さ 9 評価値 +120 ７六歩 ３四歩"); empty between games.
        std::string game;
        std::string lines[2];
        std::filesystem::path folder;
    };
    TournamentView ShownTournament() const;
    // The program that plays an .aik engine over USI (nusari-usi beside the
    // window's program).
    std::filesystem::path usiAdapter;
    // The opening lines shipped with the program.
    std::filesystem::path ShippedOpenings() const { return folders.dataFolder / "openings.txt"; }

    // True while a continuous match waits before the computer's first move.
    bool MatchPaused() const { return matchPaused_; }
    // The match line, "連続対局 3/10" (with the kept note while a match kept
    // by 中断 waits for the next start); empty without a match.
    std::string MatchText() const;

    // The rest of the GameHost the links play through.
    Ui& Reporter() override { return ui; }
    GameState CurrentState() const override { return gameState; }
    GameFields& Fields() override { return fields; }
    EngineState& Engine() override { return *engine; }
    GameRecord& Record() override { return *record; }
    bool InMatch() const override { return renzoku != 0; }
    void ShowComputerFirst(bool computerFirst) override;
    void StopPolling() override { ui.setPollTimer(0); }
    SettingsStore& SettingsFile() override { return store; }
    const std::vector<UsiEngineEntry>& RegisteredUsiEngines() const override { return usiEngines; }
    int64_t UsiHandshakeMs() const override { return usiHandshakeMs; }

    // The settings pages.
    void ShowPages();
    void HidePages();
    void SelectPreset(int32_t row);
    // Any change of an edit of the settings page enables its Ok button.
    void SettingsEdited(SettingsEdit edit, const std::string& text);
    void LeaveNumberEdit(SettingsEdit edit);
    // The settings page's Ok: applies the edits and hides the pages.
    void SettingsOk();
    // 1, or -1 when the hash arrays could not be allocated even with the
    // saved size (the window is then closing).
    int32_t ApplySettings();
    void ShowSystemInfo();

    GameView& ui;
    SettingsStore& store;
    ProgramFolders folders;
    std::unique_ptr<EngineState> engine;
    // The game's position, selection, ply count and clock.
    GameFields fields;
    // The line shown, position by position: the game's while one runs.
    std::unique_ptr<GameRecord> record;
    // The whole record the window shows and saves: every line, comment and
    // game detail. `record` is the line of it that is shown.
    RecordTree tree;
    GameState gameState = GameState::NoGame;
    // Games of a continuous match still to finish; 0 = no match.
    int32_t renzoku = 0;
    // 1 = the match rotates through the engine list.
    int32_t irekawari = 0;
    int32_t randomSeed = 0;
    std::string portName = "COM1";
    // The window's screen position read from the settings file.
    int32_t windowTop = 0;
    int32_t windowLeft = 0;
    // The window's size; 0 for the smallest.
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    // The settings as read at start-up; shut-down saves what differs.
    Settings startSettings;
    NewGamePage page;
    // The registered USI engines (section UsiEngines of the settings file).
    std::vector<UsiEngineEntry> usiEngines;
    // The USI engine that plays the computer's side of the game (and of
    // the games of a continuous match).
    std::unique_ptr<UsiOpponent> usiOpponent;
    // How long a USI engine may take to start.
    int64_t usiHandshakeMs = kUsiHandshakeMs;
    SettingsPage settingsPage;
    bool pagesVisible = false;   // settei_menyuu
    RemoteLink* link = nullptr;  // none: play over the link is not offered
    ThinkFunction think;
    BackgroundRunner runThink;
    // Ends a think that runs in the background and waits for it; nothing to
    // do by default.
    std::function<void()> stopThink;
    HashAllocator allocHash;
    PauseFunction pause;
    // Whether fourfold repetition and perpetual check end the window's games
    // (tests whose kings walk to and fro turn it off).
    bool judgeRepetition = true;

  private:
    // The computer's turn: stop polling, end the game if the human left his
    // king in check, else think and apply the reply.
    void computerTurn();
    // The human's move has left his king in check: the computer wins by it.
    void endByLeftInCheck();
    // What the computer is asked in the current position, without a cap.
    ThinkRequest thinkRequest() const;
    // Readies the engine of an engine-list path for a game: loads the .aik
    // file, or starts the registered USI engine ("USI:<name>"); 1, or -1
    // after its message.
    int32_t prepareComputer(const std::string& path);
    // The referee of the game from the position on the board with `toMove`
    // to move, in the controller's frame (the human plays the lower side);
    // the positions before it do not count for repetition.
    void startReferee(Side toMove);
    // The referee's word on a move of `mover` just made on the board after
    // `usedMs` of thought (its clock runs down by it); true
    // when the game has ended by it (repetition, perpetual check, the
    // human's king left in check).
    bool judgeMove(Side mover, const Move& m, int64_t usedMs);
    // A referee for the board as it stands with `toMove` to move: the one
    // there, or a new one when the board has changed by other ways than
    // its moves (a remote's correction, a test).
    void syncReferee(Side toMove);
    // The same for the referee's outcome after a move it has judged.
    bool actOnJudgement(Side mover, const Outcome& outcome);
    void endByRepetition(const Outcome& outcome);
    // The referee's clocks of a new game from the page (the human's answers
    // have no margin, the computer's the engines' one), or the clocks as
    // they stand when the referee starts again mid-game.
    void setUpClocks(GameSetup& setup) const;
    // The side to move has used `usedMs` of its move: when that passes its
    // clock, byoyomi and margin, the game ends on time and true is returned.
    bool clockRanOut(Side side, int64_t usedMs);
    // The computer's limit of this move from its clock; 0 without clocks.
    int64_t computerClockLimitMs() const;
    // A new game's clocks begin (or none, by the page); the game's end
    // stops them.
    void startClocks();
    void stopClocks();
    bool clockGame_ = false;
    int32_t lastCountdown_ = 0;
    std::vector<std::string> lastClocks_;
    // A USI engine's answer for `side` (the computer's, or the link's for
    // the lower side): its move is played, anything else judged by the
    // referee and told with the engine's `name`.
    void takeEngineAnswer(Side side, const PlayerAnswer& answer, const std::string& name);
    // What the lower side's player (the human, or the remote on the link)
    // answered: its move is played, its takeback granted, its verdict or
    // interruption ends the game, anything else judged as an engine's
    // answer; then the user is told what the answer asks to tell.
    void takeLowerAnswer(const PlayerAnswer& answer, const std::string& name);
    // The game's upper side is a second person at the board: the clicks
    // while it is to move make its moves.
    bool humanOpponent_ = false;
    void upperHumanClick(MouseButton button, int32_t x, int32_t y);
    // A right click drops the piece picked, or opens `menu` when none is.
    void rightClick(void (GameView::*menu)(int32_t, int32_t), int32_t x, int32_t y);
    // A left click of `mover` in `p`, where only legal moves are made: it
    // picks one of its pieces (another one instead of the one picked), then
    // the destination; the move once both are picked (a promotion asked).
    std::optional<Move> pickMove(const Position& p, Side mover, int32_t x, int32_t y);
    // With the rules at the board: a move of the human that they refuse is
    // told and not played (true).
    bool refusedMove(const Move& m);
    // The human's answers, taken as soon as they are given.
    void takeHumanAnswers();
    // Tells a USI engine that plays the computer that its game has ended;
    // `result` from the lower side's view (1 wins, 2 loses, else no winner).
    void usiGameOver(int32_t result);
    // The lower side's turn begins: poll the link in remote play.
    void lowerTurn();
    void stopAtPlyLimit();
    void closeRecord(std::time_t endTime);
    void leaveGame();
    bool saveMatchGame(std::time_t endTime);
    // Tells the autosave failures of the match and saves its kept games.
    void reportAutosaves();
    // The bookkeeping of a continuous match after a game; true when the
    // next game has begun.
    bool continueMatch(std::time_t endTime);
    // `note` stays above the start text (a failed autosave).
    void beginContinuedGame(const std::string& note);
    // The first start of a match: its size and the user's choices.
    void beginMatch();
    // The match is over or given up: no count, the user's 対戦COM and
    // 先手/後手 back on the page.
    void endMatch();
    void showMatch();
    void stepReplay(ReplayStep step);
    bool runNameCommand();
    bool placeStartPosition();
    void setPlayers(bool turned);
    int32_t* numberOf(SettingsEdit edit);
    std::string* editText(SettingsEdit edit);

    // The cell under a click in the board's frame, the view's turn undone.
    PictureCell clickedCell(int32_t x, int32_t y) const;
    void replayClick(MouseButton button, int32_t x, int32_t y);
    // Plays `m` (standard frame) at `node`: follows the branch of that move,
    // or adds one, and shows its line.
    void playAtShownPly(NodeId node, const Move& m);
    // The tree's node at the shown ply of the shown line (the root at ply
    // 0), or kNoNode while a game runs.
    NodeId shownNode() const;
    // Shows the line of the tree that ends at `end`, keeping the shown ply
    // where the line is long enough.
    void showLine(NodeId end);
    // The finished game goes into the tree: a game continued from a ply of
    // it as a line from there, a new game as the whole record.
    void commitGameToTree();
    // The engines' scores of the game just committed go to its nodes.
    void keepEngineScores();
    // A record with edits may be replaced: saved first or discarded, as the
    // user answers; false when he cancels.
    bool mayReplaceRecord();
    // Saves the tree in a file the user chooses; true once it is written.
    bool saveTree();
    // The board and the controls after a record was opened (or failed to).
    void showOpenedRecord(bool ok, const Position& start);
    // Shows the tree's main line as a record that has no file yet (pasted,
    // set up): a change, offered for saving before it is lost.
    void showUnsavedRecord();
    // The nodes of the shown line: ply n is line_[n - 1].
    std::vector<NodeId> line_;
    // The node a game continues from, or kNoNode for a new record.
    NodeId gameBase_ = kNoNode;
    // The engines' scores of the game's plies (ply n at n - 1), from 先手's
    // side, kept in the tree with the game; the next ply's score until it
    // is recorded.
    std::vector<std::optional<int32_t>> plyScores_;
    // The analysis running on the worker thread, if any.
    std::shared_ptr<RunningAnalysis> analysis_;
    void finishRecordAnalysis(RunningAnalysis& run);
    std::optional<int32_t> pendingScore_;
    bool recordChanged_ = false;

    // 検討: the analysers, the report number of each last taken, and the
    // arrows last drawn.
    std::vector<std::unique_ptr<LiveAnalyser>> studies_;
    std::vector<std::string> studyPaths_;
    // The .aik engine that explains lines, loaded when first asked.
    std::unique_ptr<EngineState> explainer_;
    std::string explainerPath_;
    std::vector<uint64_t> studySeen_;
    std::vector<ArrowMove> studyArrows() const;
    std::vector<StudyArrow> shownArrows_;
    // The first analyser's best score of each position it has analysed
    // (先手's side), keyed by its SFEN, for the graph.
    std::map<std::string, int32_t> studyScores_;
    // Gives the analysers the position shown.
    void followStudy();
    // The report of pane `pane` if it is of the position shown.
    std::optional<AnalyserReport> currentReport(int32_t pane) const;
    struct LinePreview {
        Position start{};  // standard frame
        Side toMove = Side::Lower;
        std::vector<Move> moves;
        int32_t shown = 1;  // moves made
    };
    std::optional<LinePreview> preview_;
    void stepPreview(ReplayStep step);
    void showPreview();
    Position previewPosition(int32_t& lastDestination) const;

    // COM同士 from the new-game page: a tournament of one game, shown on
    // the board with both engines' lines in the panel, then opened as the
    // record.
    void startComputersGame();
    bool computersGame_ = false;
    // The tournament and what it last published.
    std::unique_ptr<TournamentRun> tournament_;
    // The last tournament's plan, time and folder: its table stays shown.
    TournamentPlan tournamentPlan_;
    TimeControl tournamentTime_;
    std::filesystem::path tournamentFolder_;
    TournamentSnapshot tournamentShown_;
    uint64_t tournamentSeen_ = 0;
    // The board shows the tournament's game.
    bool showsTournament() const { return tournament_ != nullptr && tournamentShown_.game != 0; }
    // What the tournament game's clocks show now (先手's first), and last drew.
    std::vector<std::string> tournamentClocks() const;
    std::vector<std::string> tournamentClocks_;

    // True while StartGame waits for the link to open: the server's login
    // lets the window work meanwhile.
    bool openingLink_ = false;

    // The human at the window, the lower side's player unless the link plays it.
    HumanPlayer human_;
    // The computer's answer from the think in progress, handed over when
    // it is done.
    std::optional<PlayerAnswer> computerReply_;
    // Decides the game's end: legality, repetition, declarations.
    std::unique_ptr<Game> referee_;
    // True while the game's computer side is the USI engine.
    bool usiPlays_ = false;
    // True while a USI engine starts (the window works meanwhile).
    bool startingUsi_ = false;
    // The serial or server port name before a USI engine was chosen.
    std::string serialPortName_;
    // Counts the thinks begun; a reply whose number is no longer the latest
    // (its game stopped meanwhile) is dropped.
    uint32_t thinkNumber_ = 0;

    bool matchPaused_ = false;
    // The match begun: its games, the number of the current one, whether
    // it was kept by 中断, and the page's choices before it.
    int32_t matchTotal_ = 0;
    int32_t matchGame_ = 0;
    bool matchKept_ = false;
    // The games of the match whose autosave failed, told when it ends: the
    // paths of those saved elsewhere, and those not saved at all (name and
    // CSA text), kept to be saved then.
    std::vector<std::string> gamesSavedElsewhere_;
    std::vector<std::pair<std::string, std::string>> gamesUnsaved_;
    int32_t chosenEngineRow_ = -1;
    bool chosenComputerFirst_ = false;
    // Counts the pauses begun; a pause whose number is no longer the
    // latest (cancelled by an interruption or the shut-down) does nothing.
    uint32_t pauseNumber_ = 0;
};

}  // namespace nusari
