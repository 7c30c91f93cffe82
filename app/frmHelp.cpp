#include "app/frmHelp.h"

#include <QHBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

namespace vantrel {

namespace {

const char* const kManualUrl = "qrc:/manual/manual.html";
constexpr int kAnchorRole = Qt::UserRole;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// The anchor a heading carries (its id), or an empty text for none.
QString anchorOf(const QTextBlock& heading) {
    for (auto part = heading.begin(); !part.atEnd(); ++part) {
        const QStringList names = part.fragment().charFormat().anchorNames();
        if (!names.isEmpty()) {
            return names.constFirst();
        }
    }
    return {};
}

}  // namespace

frmHelp::frmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));

    cmdBack = makeButton(this, "cmdBack", tr("Back"));
    cmdForward = makeButton(this, "cmdForward", tr("Forward"));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setPlaceholderText(tr("Find in the manual"));
    txtFind->setClearButtonEnabled(true);
    cmdFindPrevious = makeButton(this, "cmdFindPrevious", tr("Previous"));
    cmdFindNext = makeButton(this, "cmdFindNext", tr("Next"));
    lblFind = new QLabel(this);
    lblFind->setObjectName(QStringLiteral("lblFind"));

    treContents = new QTreeWidget(this);
    treContents->setObjectName(QStringLiteral("treContents"));
    treContents->setHeaderHidden(true);
    txtManual = new QTextBrowser(this);
    txtManual->setObjectName(QStringLiteral("txtManual"));
    txtManual->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdBack);
    bar->addWidget(cmdForward);
    bar->addStretch();
    bar->addWidget(txtFind, 1);
    bar->addWidget(cmdFindPrevious);
    bar->addWidget(cmdFindNext);
    bar->addWidget(lblFind);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(treContents);
    splitter->addWidget(txtManual);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    connect(cmdBack, &QPushButton::clicked, txtManual, &QTextBrowser::backward);
    connect(cmdForward, &QPushButton::clicked, txtManual, &QTextBrowser::forward);
    connect(txtManual, &QTextBrowser::backwardAvailable, cmdBack, &QWidget::setEnabled);
    connect(txtManual, &QTextBrowser::forwardAvailable, cmdForward, &QWidget::setEnabled);
    // Entries are chosen with the keyboard as well as clicked; a click on the
    // current entry goes back to its heading after scrolling away.
    connect(treContents, &QTreeWidget::currentItemChanged, this,
            [this](const QTreeWidgetItem* entry) { goToEntry(entry); });
    connect(treContents, &QTreeWidget::itemClicked, this,
            [this](const QTreeWidgetItem* entry) { goToEntry(entry); });
    connect(cmdFindNext, &QPushButton::clicked, this, [this] { find(false); });
    connect(cmdFindPrevious, &QPushButton::clicked, this, [this] { find(true); });
    connect(txtFind, &QLineEdit::returnPressed, this, [this] { find(false); });
    // Typing searches again from where the last match began.
    connect(txtFind, &QLineEdit::textEdited, this, [this] {
        QTextCursor cursor = txtManual->textCursor();
        cursor.setPosition(cursor.selectionStart());
        txtManual->setTextCursor(cursor);
        find(false);
    });
    const auto addShortcut = [this](const QKeySequence& keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    addShortcut(QKeySequence::Find, [this] { txtFind->setFocus(Qt::ShortcutFocusReason); });
    addShortcut(QKeySequence::FindNext, [this] { find(false); });
    addShortcut(QKeySequence::FindPrevious, [this] { find(true); });
    addShortcut(QKeySequence::Back, [this] { txtManual->backward(); });
    addShortcut(QKeySequence::Forward, [this] { txtManual->forward(); });

    txtManual->setSource(QUrl(QString::fromLatin1(kManualUrl)));
    setWindowTitle(txtManual->documentTitle());
    fillContents();

    // Beside the program rather than over all of it.
    const QRect screenArea = (parent ? parent->screen() : screen())->availableGeometry();
    resize(screenArea.width() * 2 / 3, screenArea.height() * 4 / 5);
    move(screenArea.center() - rect().center());
    // The contents take a quarter, or what their longest heading needs.
    treContents->resizeColumnToContents(0);
    const int contentsWidth =
        std::max(width() / 4, treContents->columnWidth(0) + 4 * treContents->frameWidth());
    splitter->setSizes({contentsWidth, width() - contentsWidth});
}

void frmHelp::fillContents() {
    struct Open {
        int level;
        QTreeWidgetItem* entry;
    };
    QList<Open> open;  // the entries a deeper heading may go under
    const QTextDocument& manual = *txtManual->document();
    for (QTextBlock block = manual.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0) {
            continue;
        }
        auto* entry = new QTreeWidgetItem(QStringList{block.text().simplified()});
        entry->setData(0, kAnchorRole, anchorOf(block));
        while (!open.isEmpty() && open.constLast().level >= level) {
            open.removeLast();
        }
        if (open.isEmpty()) {
            treContents->addTopLevelItem(entry);
        } else {
            open.constLast().entry->addChild(entry);
        }
        open.append({level, entry});
    }
    treContents->expandAll();
}

void frmHelp::goToEntry(const QTreeWidgetItem* entry) {
    if (entry == nullptr) {
        return;
    }
    // A heading without an id is the manual's title, at its top.
    QUrl target(QString::fromLatin1(kManualUrl));
    const QString anchor = entry->data(0, kAnchorRole).toString();
    if (!anchor.isEmpty()) {
        target.setFragment(anchor);
    }
    // Once in the history, however the entry was chosen.
    if (target != txtManual->source()) {
        txtManual->setSource(target);
    }
}

void frmHelp::find(bool backwards) {
    const QString text = txtFind->text();
    lblFind->clear();
    if (text.isEmpty()) {
        return;
    }
    const QTextDocument::FindFlags direction =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (txtManual->find(text, direction)) {
        return;
    }
    const QTextCursor before = txtManual->textCursor();
    QTextCursor fromEnd = before;
    fromEnd.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    txtManual->setTextCursor(fromEnd);
    if (txtManual->find(text, direction)) {
        lblFind->setText(backwards ? tr("Continued from the bottom")
                                   : tr("Continued from the top"));
        return;
    }
    txtManual->setTextCursor(before);
    lblFind->setText(tr("Not found"));
}

}  // namespace vantrel
