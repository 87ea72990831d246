// The memory debugger's controls, laid out as its users know them.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "debugger/qt/HexDumpGrid.hpp"
#include "debugger/qt/KeyFilter.hpp"
#include "debugger/qt/ListingGrid.hpp"
#include "debugger/qt/ProgressGauge.hpp"
#include "debugger/qt/MemoryDebuggerForm.hpp"

namespace ostrovik::debugger {

namespace {

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const QString& text, const char* name = nullptr)
{
    auto* l = new QLabel(text);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPushButton* button(const QString& text, const char* name)
{
    return named(new QPushButton(text), name);
}

QListWidget* list(const char* name)
{
    auto* l = named(new QListWidget, name);
    l->setUniformItemSizes(true);
    return l;
}

} // namespace

QLineEdit* MemoryDebuggerForm::numberEdit(const char* name, const QString& text)
{
    auto* edit = named(new QLineEdit(text), name);
    edit->installEventFilter(new KeyFilter(KeyFilter::hexDigits(), true, true, edit));
    return edit;
}

void MemoryDebuggerForm::buildLeftPanel(QWidget& panel)
{
    auto* layout = new QVBoxLayout(&panel);
    for (int i = 0; i < 12; ++i) {
        // Until the first refresh each label shows the name it had in the design.
        registerLabels_[i] = new QLabel(QStringLiteral("Label%1").arg(i + 1));
        registerLabels_[i]->setObjectName(QStringLiteral("registerLabel%1").arg(i + 1));
        layout->addWidget(registerLabels_[i]);
    }
    realTimeBox_ = named(new QCheckBox(QStringLiteral("Memory RealTime")), "realTimeBox");
    layout->addWidget(realTimeBox_);
    layout->addStretch();
}

QWidget* MemoryDebuggerForm::buildAssemblerTab()
{
    auto* page = named(new QWidget, "assemblerTab");
    auto* layout = new QHBoxLayout(page);
    listingGrid_ = new ListingGrid;
    auto* copy = named(new QAction(QStringLiteral("Copy assembler code"), listingGrid_), "copyListingItem");
    listingGrid_->addAction(copy);
    listingGrid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy, &QAction::triggered, this, [this] { handle([this] { copyListing(); }); });
    layout->addWidget(listingGrid_, 1);

    auto* side = new QVBoxLayout;
    listFromEdit_ = numberEdit("listFromEdit", QStringLiteral("0"));
    listToEdit_ = numberEdit("listToEdit", QStringLiteral("65535"));
    auto* start = button(QStringLiteral("Пуск"), "disassembleButton");
    auto* save = button(QStringLiteral("Save 0000-FFFF"), "saveDumpButton");
    auto* load = button(QStringLiteral("Load 0000-FFFF"), "loadDumpButton");
    // The dump buttons are there for those who know them, and never shown.
    save->setVisible(false);
    load->setVisible(false);
    side->addWidget(label(QStringLiteral("Начать с адреса")));
    side->addWidget(listFromEdit_);
    side->addWidget(label(QStringLiteral("Закончить адресом")));
    side->addWidget(listToEdit_);
    side->addWidget(start);
    side->addWidget(save);
    side->addWidget(load);
    side->addStretch();
    layout->addLayout(side);
    connect(start, &QPushButton::clicked, this, [this] { handle([this] { disassembleTypedRange(); }); });
    connect(save, &QPushButton::clicked, this, [this] { handle([this] { saveDump(); }); });
    connect(load, &QPushButton::clicked, this, [this] { handle([this] { loadDump(); }); });
    return page;
}

QWidget* MemoryDebuggerForm::buildPortsTab()
{
    auto* page = named(new QWidget, "portsTab");
    auto* layout = new QGridLayout(page);
    portsList_ = list("portsList");
    flagsList_ = list("flagsList");
    layout->addWidget(label(QStringLiteral("Порты")), 0, 0);
    layout->addWidget(label(QStringLiteral("Флаги")), 0, 1);
    layout->addWidget(portsList_, 1, 0);
    layout->addWidget(flagsList_, 1, 1);
    return page;
}

QWidget* MemoryDebuggerForm::buildSearchTab()
{
    auto* page = named(new QWidget, "searchTab");
    auto* searchPages = named(new QTabWidget, "searchPages");
    (new QVBoxLayout(page))->addWidget(searchPages);

    auto* search = named(new QWidget, "findTab");
    auto* s = new QGridLayout(search);
    searchValueEdit_ = numberEdit("searchValueEdit", QStringLiteral("0"));
    auto* find = button(QStringLiteral("Поиск"), "searchButton");
    searchCountLabel_ = label(QStringLiteral("Найдено:"), "searchCountLabel");
    searchResultsList_ = list("searchResultsList");
    s->addWidget(label(QStringLiteral("Значение")), 0, 0);
    s->addWidget(searchValueEdit_, 1, 0);
    s->addWidget(find, 2, 0);
    s->addWidget(searchCountLabel_, 3, 0);
    s->addWidget(searchResultsList_, 0, 1, 5, 1);
    s->setRowStretch(4, 1);
    searchPages->addTab(search, QStringLiteral("Поиск"));
    connect(find, &QPushButton::clicked, this, [this] { handle([this] { searchValue(); }); });

    auto* replace = named(new QWidget, "replaceTab");
    auto* r = new QGridLayout(replace);
    pokeAddressEdit_ = numberEdit("pokeAddressEdit", QStringLiteral("0"));
    pokeValueEdit_ = numberEdit("pokeValueEdit", QStringLiteral("0"));
    hexadecimalBox_ = named(new QCheckBox(QStringLiteral("В 16-ричной системе")), "hexadecimalBox");
    auto* change = button(QStringLiteral("Поменять"), "pokeButton");
    r->addWidget(label(QStringLiteral("Адрес")), 0, 0);
    r->addWidget(pokeAddressEdit_, 1, 0);
    r->addWidget(label(QStringLiteral("Поменять на")), 0, 1);
    r->addWidget(pokeValueEdit_, 1, 1);
    r->addWidget(hexadecimalBox_, 2, 0, 1, 2);
    r->addWidget(change, 3, 0);
    r->setRowStretch(4, 1);
    r->setColumnStretch(2, 1);
    searchPages->addTab(replace, QStringLiteral("Замена"));
    connect(change, &QPushButton::clicked, this, [this] { handle([this] { pokeValue(); }); });
    return page;
}

QWidget* MemoryDebuggerForm::buildCrackTab()
{
    auto* page = named(new QWidget, "crackTab");
    auto* crackSteps = named(new QTabWidget, "crackSteps");
    (new QVBoxLayout(page))->addWidget(crackSteps);
    const QStringList kinds{QStringLiteral("Точное значение"), QStringLiteral("Неизвестное значение")};

    auto* step1 = named(new QWidget, "crackStep1Tab");
    auto* s1 = new QGridLayout(step1);
    cheatValueEdit_ = numberEdit("cheatValueEdit", QStringLiteral("0"));
    cheatKindBox_ = named(new QComboBox, "cheatKindBox");
    cheatKindBox_->addItems(kinds);
    auto* start1 = button(QStringLiteral("Пуск"), "cheatStartButton");
    auto* again = button(QStringLiteral("Button6"), "cheatRecheckButton");
    cheatCountLabel_ = label(QStringLiteral("Найдено:"), "cheatCountLabel");
    cheatAddressList_ = list("cheatAddressList");
    cheatLog_ = named(new QPlainTextEdit(QStringLiteral("Memo1")), "cheatLog");
    s1->addWidget(label(QStringLiteral("Значение")), 0, 0);
    s1->addWidget(cheatValueEdit_, 1, 0);
    s1->addWidget(label(QStringLiteral("Ищем")), 2, 0);
    s1->addWidget(cheatKindBox_, 3, 0);
    s1->addWidget(start1, 4, 0);
    s1->addWidget(cheatCountLabel_, 5, 0);
    s1->addWidget(again, 6, 0);
    s1->addWidget(cheatAddressList_, 0, 1, 8, 1);
    s1->addWidget(cheatLog_, 0, 2, 8, 1);
    s1->setRowStretch(7, 1);
    crackSteps->addTab(step1, QStringLiteral("Шаг1"));
    connect(start1, &QPushButton::clicked, this, [this] { handle([this] { startCheatSearch(); }); });
    connect(again, &QPushButton::clicked, this, [this] { handle([this] { recheckCheat(); }); });

    auto* step2 = named(new QWidget, "crackStep2Tab");
    auto* s2 = new QGridLayout(step2);
    auto* kind2 = named(new QComboBox, "droppedKindBox");
    kind2->addItems(kinds);
    auto* change = named(new QComboBox, "droppedChangeBox");
    change->addItems({QStringLiteral("Изменилось"), QStringLiteral("Неизменилось"), QStringLiteral("Увеличилось"),
                      QStringLiteral("Уменьшилось"), QStringLiteral("Увеличилось на"),
                      QStringLiteral("Меньшилось на")});
    droppedValueEdit_ = named(new QLineEdit(QStringLiteral("Edit5")), "droppedValueEdit");
    auto* start2 = button(QStringLiteral("Пуск"), "droppedStartButton");
    droppedList_ = list("droppedList");
    s2->addWidget(label(QStringLiteral("Ищем")), 0, 0);
    s2->addWidget(kind2, 1, 0);
    s2->addWidget(label(QStringLiteral("Значение")), 2, 0);
    s2->addWidget(change, 3, 0);
    s2->addWidget(droppedValueEdit_, 4, 0);
    s2->addWidget(start2, 5, 0);
    s2->addWidget(droppedList_, 0, 1, 7, 1);
    s2->setRowStretch(6, 1);
    crackSteps->addTab(step2, QStringLiteral("Шаг2"));
    connect(start2, &QPushButton::clicked, this, [this] { handle([this] { findDroppedByOne(); }); });

    crackSteps->addTab(named(new QWidget, "crackStep3Tab"), QStringLiteral("Шаг3"));

    for (QListWidget* l : {cheatAddressList_, searchResultsList_, droppedList_})
        connect(l, &QListWidget::itemPressed, this, [this, l] { handle([this, l] { pickListedAddress(*l); }); });
    return page;
}

void MemoryDebuggerForm::buildStatusBar(QWidget& bar)
{
    auto* layout = new QHBoxLayout(&bar);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(3);
    statusLabel_ = label(QString(), "statusLabel");
    statusLabel_->setFixedWidth(150);
    gauge_ = new ProgressGauge;
    gauge_->setFixedWidth(200 - 3);
    auto* third = label(QString(), "StatusPanel3");
    third->setFixedWidth(50);
    layout->addWidget(statusLabel_);
    layout->addWidget(gauge_);
    layout->addWidget(third);
    layout->addStretch();
}

MemoryDebuggerForm::MemoryDebuggerForm(kit::WindowHost& host, QWidget* parent) : QWidget(parent, Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("MemoryDebuggerForm"));
    setWindowTitle(QStringLiteral("Debugger"));
    resize(780, 680);

    auto* top = new QHBoxLayout;
    auto* panel2 = named(new QWidget, "registerPanel");
    // At least its design width, wider when a caption needs more room.
    panel2->setMinimumWidth(170);
    panel2->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    buildLeftPanel(*panel2);
    dumpGrid_ = new HexDumpGrid;
    top->addWidget(panel2);
    top->addWidget(dumpGrid_, 1);
    connect(dumpGrid_, &HexDumpGrid::cellHovered, this, [this](int c, int r) { showDumpCellAddress(c, r); });

    pages_ = named(new QTabWidget, "pages");
    pages_->addTab(buildAssemblerTab(), QStringLiteral("Ассемблер"));
    pages_->addTab(buildPortsTab(), QStringLiteral("Порты и регистры"));
    pages_->addTab(buildSearchTab(), QStringLiteral("Поиск-замена в памяти"));
    pages_->addTab(buildCrackTab(), QStringLiteral("Взлом :-)"));
    pages_->setCurrentIndex(0);

    auto* statusBar = named(new QWidget, "statusBar");
    buildStatusBar(*statusBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->addLayout(top, 3);
    layout->addWidget(pages_, 2);
    layout->addWidget(statusBar);
}

} // namespace ostrovik::debugger
