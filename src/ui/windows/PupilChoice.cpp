#include "ui/windows/PupilChoice.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/widgets/ComboBox97.h"
#include "ui/widgets/RAMScrollBar.h"

namespace oplix::ui {
namespace {

constexpr QRect kClassChooser(44, 54, 209, 21);
constexpr int kRowHeight = 13;
constexpr int kSmallChangeMax = 5;

int PupilCount(const ClassRecord& pupilsClass) {
    return std::clamp(pupilsClass.pupilCount, 0, kMaxPupils);
}

QString ListedName(const Pupil& pupil, bool firstNameFirst) {
    const std::string name = firstNameFirst ? pupil.firstName + " " + pupil.surname
                                            : pupil.surname + " " + pupil.firstName;
    return QString::fromStdString(name);
}

}  // namespace

PupilChoice::PupilChoice(QWidget* window, const PupilChoiceLayout& layout,
                         ListWindowServices& services)
    : QObject(window), services_(services), rowsInView_(layout.rowsInView) {
    classes_ = new ComboBox97(window, kClassChooser);
    classes_->setObjectName(QStringLiteral("CListaKlas"));
    connect(classes_, &QComboBox::activated, this, &PupilChoice::ClassChanged);

    QWidget* listPanel = WhitePanel(window, "PPodListeOsob", layout.listPanel);
    list_ = new QListWidget(listPanel);
    list_->setObjectName(QStringLiteral("BLista"));
    list_->setGeometry(layout.list);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setFont(SkinFont(8));
    list_->setUniformItemSizes(true);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = list_->palette();
    colours.setColor(QPalette::Text, DarkGrey());
    list_->setPalette(colours);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::currentRowChanged, this, &PupilChoice::PupilSelected);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PupilSelected(list_->row(item)); });

    barPanel_ = WhitePanel(window, "PPodListweUczniow", layout.barPanel);
    bar_ = new RAMScrollBar(barPanel_);
    bar_->setObjectName(QStringLiteral("ListwaVUczniowie"));
    bar_->setGeometry(QRect(QPoint(0, 0), layout.barPanel.size()));
    connect(bar_, &RAMScrollBar::changed, this,
            [this](int position) { list_->verticalScrollBar()->setValue(position); });

    label_ = ChoiceLabel(window, "LOsoba", layout.label);
}

const ClassRecord* PupilChoice::ShownClass() const {
    if (shownClass_ < 0 ||
        static_cast<std::size_t>(shownClass_) >= services_.students.classes.size()) {
        return nullptr;
    }
    return &services_.students.classes[static_cast<std::size_t>(shownClass_)];
}

bool PupilChoice::PupilChosen() const {
    return !services_.choice.surname.empty();
}

void PupilChoice::Fill() {
    classes_->clear();
    shownClass_ = -1;
    const StudentsList& students = services_.students;
    const int classCount = std::min(students.classCount, static_cast<int>(students.classes.size()));
    if (classCount > 0) {
        for (int i = 0; i < classCount; ++i) {
            classes_->addItem(
                QString::fromStdString(students.classes[static_cast<std::size_t>(i)].className));
        }
        shownClass_ = 0;
        if (!PupilChosen()) {
            services_.choice.classIndex = 0;
        }
        classes_->setCurrentIndex(0);
    }
    FillPupilList();
}

// Until a pupil is chosen, the pupil index goes to the first line; a chosen pupil stays as he
// was.
void PupilChoice::FillPupilList() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    const ClassRecord* pupilsClass = ShownClass();
    const int pupils = pupilsClass != nullptr ? PupilCount(*pupilsClass) : 0;
    for (int i = 0; i < pupils; ++i) {
        auto* item = new QListWidgetItem(
            ListedName(pupilsClass->pupils[static_cast<std::size_t>(i)], services_.settings.fn),
            list_);
        item->setSizeHint(QSize(list_->width(), kRowHeight));
    }
    if (pupils > 0) {
        if (!PupilChosen()) {
            services_.choice.pupilIndex = 0;
        }
        list_->setCurrentRow(0);
    }
    SetUpBar(pupils);
}

void PupilChoice::SetUpBar(int pupils) {
    if (pupils <= rowsInView_) {
        barPanel_->hide();
        return;
    }
    bar_->setMax(pupils - rowsInView_);
    bar_->setLargeChange(rowsInView_ - 1);
    bar_->setSmallChange(rowsInView_ - 2);
    bar_->setSmallChangeMax(kSmallChangeMax);
    bar_->setPosition(list_->verticalScrollBar()->value());
    barPanel_->show();
}

void PupilChoice::ClassChanged(int index) {
    shownClass_ = index;
    if (!PupilChosen()) {
        services_.choice.classIndex = index;
    }
    FillPupilList();
}

void PupilChoice::PupilSelected(int row) {
    const ClassRecord* pupilsClass = ShownClass();
    if (pupilsClass == nullptr || row < 0 || row >= PupilCount(*pupilsClass)) {
        return;
    }
    const Pupil& pupil = pupilsClass->pupils[static_cast<std::size_t>(row)];
    services_.choice.classIndex = shownClass_;
    services_.choice.pupilIndex = row;
    services_.choice.surname = pupil.surname;
    services_.choice.firstName = pupil.firstName;
    // The surname comes first here whatever order the list shows.
    SetLabel(QString::fromStdString("Wybór osoby: " + pupil.surname + " " + pupil.firstName));
}

void PupilChoice::SetLabel(const QString& text) {
    label_->setText(text);
}

bool PupilChoice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyRelease) {
        bar_->setPosition(list_->verticalScrollBar()->value());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace oplix::ui
