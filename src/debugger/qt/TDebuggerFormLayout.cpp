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
#include "debugger/qt/TDebuggerForm.hpp"

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

QLineEdit* TDebuggerForm::numberEdit(const char* name, const QString& text)
{
    auto* edit = named(new QLineEdit(text), name);
    edit->installEventFilter(new KeyFilter(KeyFilter::hexDigits(), true, true, edit));
    return edit;
}

void TDebuggerForm::buildLeftPanel(QWidget& panel)
{
    auto* layout = new QVBoxLayout(&panel);
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("Label%1").arg(i + 1);
        Labels[i] = new QLabel(name);
        Labels[i]->setObjectName(name);
        layout->addWidget(Labels[i]);
    }
    CheckBoxMem = named(new QCheckBox(QStringLiteral("Memory RealTime")), "CheckBoxMem");
    layout->addWidget(CheckBoxMem);
    layout->addStretch();
}

QWidget* TDebuggerForm::buildAssemblerTab()
{
    auto* page = named(new QWidget, "TabSheet1");
    auto* layout = new QHBoxLayout(page);
    StringGridAss = new ListingGrid;
    auto* copy = named(new QAction(QStringLiteral("Copy assembler code"), StringGridAss), "Copyassemblercode1");
    StringGridAss->addAction(copy);
    StringGridAss->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy, &QAction::triggered, this, [this] { handle([this] { Copyassemblercode1Click(); }); });
    layout->addWidget(StringGridAss, 1);

    auto* side = new QVBoxLayout;
    Edit4 = numberEdit("Edit4", QStringLiteral("0"));
    Edit6 = numberEdit("Edit6", QStringLiteral("65535"));
    auto* start = button(QStringLiteral("Пуск"), "Button4");
    auto* save = button(QStringLiteral("Save 0000-FFFF"), "Button7");
    auto* load = button(QStringLiteral("Load 0000-FFFF"), "Button8");
    // The dump buttons are there for those who know them, and never shown.
    save->setVisible(false);
    load->setVisible(false);
    side->addWidget(label(QStringLiteral("Начать с адреса")));
    side->addWidget(Edit4);
    side->addWidget(label(QStringLiteral("Закончить адресом")));
    side->addWidget(Edit6);
    side->addWidget(start);
    side->addWidget(save);
    side->addWidget(load);
    side->addStretch();
    layout->addLayout(side);
    connect(start, &QPushButton::clicked, this, [this] { handle([this] { Button4Click(); }); });
    connect(save, &QPushButton::clicked, this, [this] { handle([this] { Button7Click(); }); });
    connect(load, &QPushButton::clicked, this, [this] { handle([this] { Button8Click(); }); });
    return page;
}

QWidget* TDebuggerForm::buildPortsTab()
{
    auto* page = named(new QWidget, "TabSheet9");
    auto* layout = new QGridLayout(page);
    ListBox4 = list("ListBox4");
    ListBox5 = list("ListBox5");
    layout->addWidget(label(QStringLiteral("Порты")), 0, 0);
    layout->addWidget(label(QStringLiteral("Флаги")), 0, 1);
    layout->addWidget(ListBox4, 1, 0);
    layout->addWidget(ListBox5, 1, 1);
    return page;
}

QWidget* TDebuggerForm::buildSearchTab()
{
    auto* page = named(new QWidget, "TabSheet2");
    auto* pages = named(new QTabWidget, "PageControl2");
    (new QVBoxLayout(page))->addWidget(pages);

    auto* search = named(new QWidget, "TabSheet4");
    auto* s = new QGridLayout(search);
    Edit7 = numberEdit("Edit7", QStringLiteral("0"));
    auto* find = button(QStringLiteral("Поиск"), "Button1");
    Label23 = label(QStringLiteral("Найдено:"), "Label23");
    ListBox2 = list("ListBox2");
    s->addWidget(label(QStringLiteral("Значение")), 0, 0);
    s->addWidget(Edit7, 1, 0);
    s->addWidget(find, 2, 0);
    s->addWidget(Label23, 3, 0);
    s->addWidget(ListBox2, 0, 1, 5, 1);
    s->setRowStretch(4, 1);
    pages->addTab(search, QStringLiteral("Поиск"));
    connect(find, &QPushButton::clicked, this, [this] { handle([this] { Button1Click(); }); });

    auto* replace = named(new QWidget, "TabSheet5");
    auto* r = new QGridLayout(replace);
    Edit2 = numberEdit("Edit2", QStringLiteral("0"));
    Edit3 = numberEdit("Edit3", QStringLiteral("0"));
    CheckBox16_10 = named(new QCheckBox(QStringLiteral("В 16-ричной системе")), "CheckBox16_10");
    auto* change = button(QStringLiteral("Поменять"), "Button3");
    r->addWidget(label(QStringLiteral("Адрес")), 0, 0);
    r->addWidget(Edit2, 1, 0);
    r->addWidget(label(QStringLiteral("Поменять на")), 0, 1);
    r->addWidget(Edit3, 1, 1);
    r->addWidget(CheckBox16_10, 2, 0, 1, 2);
    r->addWidget(change, 3, 0);
    r->setRowStretch(4, 1);
    r->setColumnStretch(2, 1);
    pages->addTab(replace, QStringLiteral("Замена"));
    connect(change, &QPushButton::clicked, this, [this] { handle([this] { Button3Click(); }); });
    return page;
}

QWidget* TDebuggerForm::buildCrackTab()
{
    auto* page = named(new QWidget, "TabSheet3");
    auto* pages = named(new QTabWidget, "PageControl3");
    (new QVBoxLayout(page))->addWidget(pages);
    const QStringList kinds{QStringLiteral("Точное значение"), QStringLiteral("Неизвестное значение")};

    auto* step1 = named(new QWidget, "TabSheet6");
    auto* s1 = new QGridLayout(step1);
    Edit1 = numberEdit("Edit1", QStringLiteral("0"));
    ComboBoxPoisk = named(new QComboBox, "ComboBoxPoisk");
    ComboBoxPoisk->addItems(kinds);
    auto* start1 = button(QStringLiteral("Пуск"), "Button5");
    auto* again = button(QStringLiteral("Button6"), "Button6");
    Label18 = label(QStringLiteral("Найдено:"), "Label18");
    ListBox1 = list("ListBox1");
    Memo1 = named(new QPlainTextEdit(QStringLiteral("Memo1")), "Memo1");
    s1->addWidget(label(QStringLiteral("Значение")), 0, 0);
    s1->addWidget(Edit1, 1, 0);
    s1->addWidget(label(QStringLiteral("Ищем")), 2, 0);
    s1->addWidget(ComboBoxPoisk, 3, 0);
    s1->addWidget(start1, 4, 0);
    s1->addWidget(Label18, 5, 0);
    s1->addWidget(again, 6, 0);
    s1->addWidget(ListBox1, 0, 1, 8, 1);
    s1->addWidget(Memo1, 0, 2, 8, 1);
    s1->setRowStretch(7, 1);
    pages->addTab(step1, QStringLiteral("Шаг1"));
    connect(start1, &QPushButton::clicked, this, [this] { handle([this] { Button5Click(); }); });
    connect(again, &QPushButton::clicked, this, [this] { handle([this] { Button6Click(); }); });

    auto* step2 = named(new QWidget, "TabSheet7");
    auto* s2 = new QGridLayout(step2);
    auto* kind2 = named(new QComboBox, "ComboBox1");
    kind2->addItems(kinds);
    auto* change = named(new QComboBox, "ComboBox2");
    change->addItems({QStringLiteral("Изменилось"), QStringLiteral("Неизменилось"), QStringLiteral("Увеличилось"),
                      QStringLiteral("Уменьшилось"), QStringLiteral("Увеличилось на"),
                      QStringLiteral("Меньшилось на")});
    Edit5 = named(new QLineEdit(QStringLiteral("Edit5")), "Edit5");
    auto* start2 = button(QStringLiteral("Пуск"), "Button2");
    ListBox3 = list("ListBox3");
    s2->addWidget(label(QStringLiteral("Ищем")), 0, 0);
    s2->addWidget(kind2, 1, 0);
    s2->addWidget(label(QStringLiteral("Значение")), 2, 0);
    s2->addWidget(change, 3, 0);
    s2->addWidget(Edit5, 4, 0);
    s2->addWidget(start2, 5, 0);
    s2->addWidget(ListBox3, 0, 1, 7, 1);
    s2->setRowStretch(6, 1);
    pages->addTab(step2, QStringLiteral("Шаг2"));
    connect(start2, &QPushButton::clicked, this, [this] { handle([this] { Button2Click(); }); });

    pages->addTab(named(new QWidget, "TabSheet8"), QStringLiteral("Шаг3"));

    for (QListWidget* l : {ListBox1, ListBox2, ListBox3})
        connect(l, &QListWidget::itemPressed, this, [this, l] { handle([this, l] { ListBoxMouseDown(*l); }); });
    return page;
}

void TDebuggerForm::buildStatusBar(QWidget& bar)
{
    auto* layout = new QHBoxLayout(&bar);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(3);
    StatusPanel1 = label(QString(), "StatusPanel1");
    StatusPanel1->setFixedWidth(150);
    Gauge = new ProgressGauge;
    Gauge->setFixedWidth(200 - 3);
    auto* third = label(QString(), "StatusPanel3");
    third->setFixedWidth(50);
    layout->addWidget(StatusPanel1);
    layout->addWidget(Gauge);
    layout->addWidget(third);
    layout->addStretch();
}

TDebuggerForm::TDebuggerForm(machine::EmulatorControl& host, QWidget* parent) : QWidget(parent, Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("DebuggerForm"));
    setWindowTitle(QStringLiteral("Debugger"));
    resize(780, 680);

    auto* top = new QHBoxLayout;
    auto* panel2 = named(new QWidget, "Panel2");
    // At least its design width, wider when a caption needs more room.
    panel2->setMinimumWidth(170);
    panel2->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    buildLeftPanel(*panel2);
    StringGrid1 = new HexDumpGrid;
    top->addWidget(panel2);
    top->addWidget(StringGrid1, 1);
    connect(StringGrid1, &HexDumpGrid::cellHovered, this, [this](int c, int r) { StringGrid1MouseMove(c, r); });

    PageControl1 = named(new QTabWidget, "PageControl1");
    PageControl1->addTab(buildAssemblerTab(), QStringLiteral("Ассемблер"));
    PageControl1->addTab(buildPortsTab(), QStringLiteral("Порты и регистры"));
    PageControl1->addTab(buildSearchTab(), QStringLiteral("Поиск-замена в памяти"));
    PageControl1->addTab(buildCrackTab(), QStringLiteral("Взлом :-)"));
    PageControl1->setCurrentIndex(0);

    auto* statusBar = named(new QWidget, "StatusBar1");
    buildStatusBar(*statusBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->addLayout(top, 3);
    layout->addWidget(PageControl1, 2);
    layout->addWidget(statusBar);
}

} // namespace ostrovik::debugger
