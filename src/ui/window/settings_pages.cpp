#include "ui/window/settings_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QValidator>

#include "position/text_encoding.h"
#include "ui/hit_analysis_run.h"
#include "ui/ui_texts.h"
#include "ui/window/clock_fields.h"
#include "ui/window/page_widgets.h"
#include "ui/window/usi_engines_page.h"

namespace nusari {

namespace {

// Refuses a player's name of more than 18 bytes in Shift-JIS: a
// double-byte character counts two.
class NameLengthValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        return toCp932(input.toStdString()).size() <= 18 ? Acceptable : Invalid;
    }
};

void setTextQuietly(QLineEdit* edit, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (edit->text() == value) return;
    const QSignalBlocker block(edit);
    edit->setText(value);
}

constexpr const char* kStartHint = "上記設定にて対局開始";
constexpr const char* kCloseHint = "設定画面を閉じる";
const QRect kOkButton(200, 190, 80, 26);
const QRect kCancelButton(290, 190, 80, 26);
// The new-game page's clocks and rules take this much above its buttons.
constexpr int kClockRows = 112;

}  // namespace

SettingsPages::SettingsPages(QWidget* parent, GameController*& controller)
    : QTabWidget(parent), controller_(controller) {
    setObjectName(QStringLiteral("settei_menyuu"));
    addTab(buildNewGamePage(), QStringLiteral("　新規対局"));
    addTab(buildSettingsPage(), QStringLiteral("　各種設定"));
    addTab(buildAnalysisPage(), QStringLiteral("　各種分析"));
    addTab(buildUsiPage(), QStringLiteral("　USIエンジン"));
}

QWidget* SettingsPages::buildNewGamePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("taikyoku_tab"));
    const Qt::Alignment right = Qt::AlignRight;

    addLabel(page, "手合い", QRect(8, 12, 84, 22), right);
    taikyoku_teai = new QComboBox(page);
    taikyoku_teai->setObjectName(QStringLiteral("taikyoku_teai"));
    taikyoku_teai->setEditable(true);
    taikyoku_teai->setInsertPolicy(QComboBox::NoInsert);
    taikyoku_teai->setMaxVisibleItems(13);
    for (const char* name : kPresetNames) taikyoku_teai->addItem(QString::fromUtf8(name));
    taikyoku_teai->setGeometry(100, 12, 200, 22);
    connect(taikyoku_teai, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0) return;
        controller_->page.presetRow = row;
        controller_->page.presetText = kPresetNames[row];
    });
    connect(taikyoku_teai, &QComboBox::editTextChanged, this, &SettingsPages::presetTextChanged);

    nameLabel_ = addLabel(page, "あなたの名前", QRect(8, 42, 84, 22), right);
    namae_you = new QLineEdit(page);
    namae_you->setObjectName(QStringLiteral("namae_you"));
    namae_you->setValidator(new NameLengthValidator(namae_you));
    namae_you->setGeometry(100, 42, 200, 22);
    connect(namae_you, &QLineEdit::textChanged, this,
            [this](const QString& text) { controller_->page.playerName = text.toStdString(); });
    // In a game between two engines the name's place holds the second one.
    taisenn_com2 = new QComboBox(page);
    taisenn_com2->setObjectName(QStringLiteral("taisenn_com2"));
    taisenn_com2->setGeometry(100, 42, 200, 22);
    taisenn_com2->hide();
    connect(taisenn_com2, &QComboBox::currentIndexChanged, this,
            [this](int row) { controller_->page.secondEngineRow = row; });

    addLabel(page, "対戦COM", QRect(8, 72, 84, 22), right);
    taisenn_com = new QComboBox(page);
    taisenn_com->setObjectName(QStringLiteral("taisenn_com"));
    taisenn_com->setGeometry(100, 72, 200, 22);
    connect(taisenn_com, &QComboBox::currentIndexChanged, this,
            [this](int row) { controller_->page.engineRow = row; });
    // Who plays: you against the COM, two people on one board, or two COMs.
    taikyokusha = new QComboBox(page);
    taikyokusha->setObjectName(QStringLiteral("taikyokusha"));
    taikyokusha->addItems({QStringLiteral("対COM"), QStringLiteral("人間同士"), QStringLiteral("COM同士")});
    taikyokusha->setToolTip(QStringLiteral("人間同士：COMの側も盤をクリックして指す　COM同士：対戦COMと相手COMが指す"));
    taikyokusha->setGeometry(306, 72, 84, 22);
    connect(taikyokusha, &QComboBox::currentIndexChanged, this, [this](int row) {
        controller_->page.humanOpponent = row == 1;
        controller_->page.computersOnly = row == 2;
        showOpponent();
    });

    sengo_1 = new QRadioButton(QStringLiteral("先手：YOU　vs　後手：COM"), page);
    sengo_1->setObjectName(QStringLiteral("sengo_1"));
    sengo_1->setGeometry(100, 102, 240, 22);
    sengo_1->setChecked(true);
    sengo_2 = new QRadioButton(QStringLiteral("先手：COM　vs　後手：YOU"), page);
    sengo_2->setObjectName(QStringLiteral("sengo_2"));
    sengo_2->setGeometry(100, 124, 240, 22);
    connect(sengo_2, &QRadioButton::toggled, this,
            [this](bool checked) { controller_->page.computerFirst = checked; });

    addLabel(page, "通信対戦", QRect(8, 154, 84, 22), right);
    tuusinC = new QCheckBox(QStringLiteral("YOU=RS232C(CSA)"), page);
    tuusinC->setObjectName(QStringLiteral("tuusinC"));
    tuusinC->setGeometry(100, 154, 140, 22);
    connect(tuusinC, &QCheckBox::toggled, this,
            [this](bool checked) { controller_->page.linkChecked = checked; });
    // Who plays the remote side: the port of the settings page (serial or
    // game server), or a registered USI engine.
    tuusin_aite = new QComboBox(page);
    tuusin_aite->setObjectName(QStringLiteral("tuusin_aite"));
    tuusin_aite->setGeometry(244, 154, 140, 22);
    connect(tuusin_aite, &QComboBox::currentIndexChanged, this,
            [this](int row) { controller_->SelectLinkTarget(row); });

    clocks_ = new ClockFields(page, controller_);
    clocks_->setGeometry(8, 184, 320, 80);
    hansoku_kinsi = new QCheckBox(QStringLiteral("反則手（王手放置・打ち歩詰め）は指さない"), page);
    hansoku_kinsi->setObjectName(QStringLiteral("hansoku_kinsi"));
    hansoku_kinsi->setGeometry(100, 268, 280, 22);
    connect(hansoku_kinsi, &QCheckBox::toggled, this,
            [this](bool checked) { controller_->page.refuseFouls = checked; });

    taikyoku_iiyo = addButton(page, "taikyoku_iiyo", "Ok", kStartHint, kOkButton.translated(0, kClockRows));
    connect(taikyoku_iiyo, &QPushButton::clicked, this, [this] { controller_->StartGame(); });
    taikyoku_yame = addButton(page, "taikyoku_yame", "Cancel", kCloseHint, kCancelButton.translated(0, kClockRows));
    connect(taikyoku_yame, &QPushButton::clicked, this, [this] { controller_->HidePages(); });
    return page;
}

// A typed text selects the row it names, or no row at all.
void SettingsPages::presetTextChanged(const QString& text) {
    const int row = taikyoku_teai->findText(text, Qt::MatchExactly);
    controller_->page.presetRow = row;
    controller_->page.presetText = text.toStdString();
}

QLineEdit* SettingsPages::addSettingsEdit(QWidget* page, int row, const char* label,
                                          const char* name, int maxLength, SettingsEdit edit) {
    const int y = 14 + 32 * row;
    addLabel(page, label, QRect(8, y, 170, 22), Qt::AlignRight);
    auto* line = new QLineEdit(page);
    line->setObjectName(QString::fromUtf8(name));
    line->setMaxLength(maxLength);
    line->setGeometry(184, y, 110, 22);
    connect(line, &QLineEdit::textChanged, this, [this, edit](const QString& text) {
        controller_->SettingsEdited(edit, text.toStdString());
        settei_iiyo->setEnabled(controller_->settingsPage.okEnabled);
    });
    if (edit != SettingsEdit::PortName) {
        connect(line, &QLineEdit::editingFinished, this, [this, edit] {
            if (checkingEdit_) return;
            checkingEdit_ = true;
            controller_->LeaveNumberEdit(edit);
            checkingEdit_ = false;
        });
    }
    return line;
}

QWidget* SettingsPages::buildSettingsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("settei_tab"));
    zikann_max_ran = addSettingsEdit(page, 0, "COMの最大思考時間：", "zikann_max_ran", 8,
                                     SettingsEdit::TimeLimit);
    addLabel(page, "ms（最小100）", QRect(298, 14, 90, 22), Qt::AlignLeft)
        ->setObjectName(QStringLiteral("lbl_zikann_tani"));
    data_ookisa_ran =
        addSettingsEdit(page, 1, "ハッシュ表のサイズ：", "data_ookisa_ran", 7, SettingsEdit::Hash);
    com_poto_ran =
        addSettingsEdit(page, 2, "RS232Cのポート名：", "com_poto_ran", 4, SettingsEdit::PortName);
    ransuu_tane_ran =
        addSettingsEdit(page, 3, "現在の乱数値：", "ransuu_tane_ran", 3, SettingsEdit::RandomSeed);
    settei_iiyo = addButton(page, "settei_iiyo", "Ok", kStartHint, kOkButton);
    settei_iiyo->setEnabled(false);
    connect(settei_iiyo, &QPushButton::clicked, this, [this] { controller_->SettingsOk(); });
    settei_yame = addButton(page, "settei_yame", "Cancel", kCloseHint, kCancelButton);
    connect(settei_yame, &QPushButton::clicked, this, [this] { controller_->HidePages(); });
    return page;
}

QWidget* SettingsPages::buildAnalysisPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("system_tab"));
    addLabel(page, "hit位置によるAikの評価：", QRect(16, 20, 180, 24), Qt::AlignLeft)
        ->setObjectName(QStringLiteral("lbl_msg1"));
    btnAnalysisAik_hitOrder =
        addButton(page, "btnAnalysisAik_hitOrder", "Start", "", QRect(200, 20, 80, 26));
    connect(btnAnalysisAik_hitOrder, &QPushButton::clicked, this, [this] {
        if (controller_->gameState != GameState::NoGame) return;
        const std::string file = controller_->ui.chooseFile(FileDialog::OpenAik, "");
        if (!file.empty()) RunHitAnalysis(*controller_, file);
    });
    QLabel* note =
        addLabel(page, "※ 注意　：処理に時間がかかります。", QRect(16, 60, 300, 24), Qt::AlignLeft);
    note->setObjectName(QStringLiteral("lbl_msg99"));
    note->setStyleSheet(QStringLiteral("color: red;"));
    return page;
}

void SettingsPages::showOpponent() {
    const NewGamePage& page = controller_->page;
    const bool person = page.humanOpponent;
    const bool computers = page.computersOnly;
    taisenn_com->setEnabled(!person);
    namae_you->setVisible(!computers);
    taisenn_com2->setVisible(computers);
    nameLabel_->setText(computers ? QStringLiteral("相手COM") : QStringLiteral("あなたの名前"));
    const QString lower = computers ? QStringLiteral("相手COM") : QStringLiteral("YOU");
    const QString upper = person ? QStringLiteral("相手") : QStringLiteral("COM");
    sengo_1->setText(QStringLiteral("先手：%1　vs　後手：%2").arg(lower, upper));
    sengo_2->setText(QStringLiteral("先手：%1　vs　後手：%2").arg(upper, lower));
}

QWidget* SettingsPages::buildUsiPage() {
    usi_tab = new UsiEnginesPage(controller_);
    return usi_tab;
}

void SettingsPages::sync() {
    const GameController& c = *controller_;
    const NewGamePage& page = c.page;
    {
        const QSignalBlocker block(taikyoku_teai);
        if (page.presetRow >= 0) taikyoku_teai->setCurrentIndex(page.presetRow);
        if (taikyoku_teai->currentText().toStdString() != page.presetText) {
            taikyoku_teai->setEditText(QString::fromStdString(page.presetText));
        }
    }
    setTextQuietly(namae_you, page.playerName);
    clocks_->sync();
    {
        const QSignalBlocker block(hansoku_kinsi);
        hansoku_kinsi->setChecked(page.refuseFouls);
    }
    {
        const QSignalBlocker block(taikyokusha);
        taikyokusha->setCurrentIndex(page.computersOnly ? 2 : page.humanOpponent ? 1 : 0);
        showOpponent();
    }
    {
        const QSignalBlocker block(taisenn_com);
        QStringList names;
        for (const std::string& name : page.engineNames)
            names << QFile::decodeName(QByteArray::fromStdString(name));
        QStringList shown;
        for (int i = 0; i < taisenn_com->count(); ++i) shown << taisenn_com->itemText(i);
        if (shown != names) {
            taisenn_com->clear();
            taisenn_com->addItems(names);
            const QSignalBlocker block2(taisenn_com2);
            taisenn_com2->clear();
            taisenn_com2->addItems(names);
        }
        taisenn_com->setCurrentIndex(page.engineRow);
        const QSignalBlocker block2(taisenn_com2);
        taisenn_com2->setCurrentIndex(page.secondEngineRow);
    }
    {
        const QSignalBlocker block1(sengo_1);
        const QSignalBlocker block2(sengo_2);
        (page.computerFirst ? sengo_2 : sengo_1)->setChecked(true);
    }
    {
        const QSignalBlocker block(tuusinC);
        tuusinC->setChecked(page.linkChecked);
        tuusinC->setEnabled(c.link != nullptr);
    }
    {
        const QSignalBlocker block(tuusin_aite);
        const std::vector<std::string> targets = c.LinkTargets();
        QStringList names;
        for (const std::string& target : targets) names << QString::fromStdString(target);
        QStringList shown;
        for (int i = 0; i < tuusin_aite->count(); ++i) shown << tuusin_aite->itemText(i);
        if (shown != names) {
            tuusin_aite->clear();
            tuusin_aite->addItems(names);
        }
        tuusin_aite->setCurrentIndex(c.LinkTargetRow());
        tuusin_aite->setEnabled(c.link != nullptr);
    }
    setTextQuietly(zikann_max_ran, c.settingsPage.timeLimit);
    setTextQuietly(data_ookisa_ran, c.settingsPage.hash);
    setTextQuietly(com_poto_ran, c.settingsPage.portName);
    setTextQuietly(ransuu_tane_ran, c.settingsPage.randomSeed);
    settei_iiyo->setEnabled(c.settingsPage.okEnabled);
    usi_tab->sync();
    if (c.pagesVisible && isHidden()) {
        setCurrentIndex(0);
        raise();
    }
    setVisible(c.pagesVisible);
}

}  // namespace nusari
