#include "reportfixture.h"

#include "common/routines.h"
#include "reporting/designerwindow.h"
#include "reporting/fr3writer.h"
#include "support/files.h"
#include "support/scriptedprompter.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

namespace dorvik::reporting {
namespace {

class Designer : public test::DbTest {
protected:
    // A shipped template copied where the designer may save over it.
    QString copyOf(const QString& name) {
        const QString path = dir.filePath(name);
        QFile::copy(common::programFolder() + "fr3/" + name, path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    static ObjectRef named(const DesignerModel& m, const QString& name) {
        for (int page : m.pages())
            for (const ObjectRef& band : m.bands(page)) {
                if (m.node(band).text("Name") == name) return band;
                for (const ObjectRef& o : m.objects(band))
                    if (m.node(o).text("Name") == name) return o;
            }
        ADD_FAILURE() << "no " << name.toStdString();
        return {};
    }
    // A point of the view over a place on the sheet.
    static QPoint over(DesignerWindow& w, QPointF sheet) {
        const double f = w.zoom() * w.logicalDpiX() / 96.0;
        return ((sheet + QPointF(12, 12)) * f).toPoint();
    }
    // The designer on a copy of a shipped template, shown.
    std::unique_ptr<DesignerWindow> openDesigner(const QString& name) {
        const QString path = copyOf(name);
        auto w = std::make_unique<DesignerWindow>(readTemplate(path), path, query("select 1 as N"));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }
    QTemporaryDir dir;
};

TEST_F(Designer, EditsThroughTheWindowLandInTheFileAndNothingElse) {
    const QString path = copyOf("vyd1.fr3");
    const Template original = readTemplate(path);
    test::ScriptedPrompter prompter;
    DesignerWindow w(original, path, query("select 'A100' as JKPOV, 'Cement' as NAZEV, 2.5 as MNOZ"));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QWidget* view = w.findChild<QWidget*>("NavrhStranky");
    ASSERT_NE(view, nullptr);

    // Select a memo of the data band with the mouse and move it two grid steps right, one down.
    DesignerModel& m = w.model();
    const ObjectRef band = named(m, "MasterData1");
    const ObjectRef memo = m.objects(band).first();
    const QString memoName = m.node(memo).text("Name");
    const QRectF before = m.rect(memo);
    QTest::mouseClick(view, Qt::LeftButton, {}, over(w, before.center()));
    ASSERT_EQ(m.selection(), QList<ObjectRef>({memo}));
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(m.rect(memo).topLeft(), before.topLeft() + QPointF(8, 4));
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(m.rect(memo).size(), before.size()) << "Shift+arrows resize, and back";

    // New text typed into the property panel.
    auto* text = w.findChild<QPlainTextEdit*>("Text");
    text->setFocus();
    text->selectAll();
    QTest::keyClicks(text, "Kod: [frxDBDataset1.\"JKPOV\"]");
    EXPECT_EQ(m.node(memo).text("Text"), "Kod: [frxDBDataset1.\"JKPOV\"]");

    // A field from the list goes into the selected object's band.
    auto* fields = w.findChild<QListWidget*>("SeznamPoli");
    ASSERT_EQ(fields->count(), 3);
    w.findChild<QTabWidget*>("Panel")->setCurrentWidget(fields);
    QListWidgetItem* field = fields->item(1);
    QTest::mouseClick(fields->viewport(), Qt::LeftButton, {}, fields->visualItemRect(field).center());
    QTest::mouseDClick(fields->viewport(), Qt::LeftButton, {}, fields->visualItemRect(field).center());
    const int count = int(original.root.children[band.page].children[band.band].children.size());
    ASSERT_EQ(m.node(band).children.size(), count + 1);
    const Node added = m.node(band).children.last();
    EXPECT_EQ(added.tag, "TfrxMemoView");
    EXPECT_EQ(added.text("Text"), "[frxDBDataset1.\"NAZEV\"]");

    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(m.modified());
    EXPECT_TRUE(prompter.asked.isEmpty());

    // The file holds the three changes; every other element and attribute is as it was.
    Template expected = original;
    Node& e = expected.root.children[memo.page].children[memo.band].children[memo.object];
    e.set("Left", formatNumber(e.number("Left") + 8));
    e.set("Top", formatNumber(e.number("Top") + 4));
    e.set("Text", "Kod: [frxDBDataset1.\"JKPOV\"]");
    expected.root.children[band.page].children[band.band].children.append(added);
    EXPECT_EQ(test::readAll(path), templateXml(expected));
    const Template saved = readTemplate(path);
    EXPECT_EQ(saved.root.children[memo.page].children[memo.band].children[memo.object].text("Name"), memoName);

    w.close();
    EXPECT_FALSE(w.isVisible()) << "nothing unsaved: no question";
    EXPECT_TRUE(prompter.asked.isEmpty());
}

TEST_F(Designer, FrameStyleAndGroupFlagsComeFromThePanel) {
    test::ScriptedPrompter prompter;
    const std::unique_ptr<DesignerWindow> window = openDesigner("vyd1.fr3");
    DesignerWindow& w = *window;
    DesignerModel& m = w.model();
    const int page = m.pages().first();

    const ObjectRef memo = m.objects(named(m, "MasterData1")).first();
    QTest::mouseClick(w.findChild<QWidget*>("NavrhStranky"), Qt::LeftButton, {}, over(w, m.rect(memo).center()));
    ASSERT_EQ(m.selection(), QList<ObjectRef>({memo}));
    auto* style = w.findChild<QComboBox*>("StylRamecku");
    ASSERT_TRUE(style->isVisibleTo(&w));
    QTest::keyClick(style, Qt::Key_Down);
    EXPECT_EQ(m.node(memo).text("Frame.Style"), "fsDash");
    QTest::keyClick(style, Qt::Key_Up);
    EXPECT_FALSE(m.node(memo).has("Frame.Style")) << "the default is not written";

    auto* keep = w.findChild<QCheckBox*>("Pohromade");
    EXPECT_FALSE(keep->isVisibleTo(&w)) << "only group headers keep together";
    const ObjectRef group = m.addBand(page, "TfrxGroupHeader");
    m.select({group});
    w.changed();
    ASSERT_TRUE(keep->isVisibleTo(&w));
    keep->click();
    w.findChild<QCheckBox*>("Opakovat")->click();
    EXPECT_EQ(m.node(group).text("KeepTogether"), "True");
    EXPECT_EQ(m.node(group).text("ReprintOnNewPage"), "True");
    keep->click();
    EXPECT_FALSE(m.node(group).has("KeepTogether"));
}

TEST_F(Designer, PicturesComeFromImageFiles) {
    QImage red(7, 5, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (const char* format : {"PNG", "JPEG", "BMP"}) {
        QByteArray file;
        QBuffer buffer(&file);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(red.save(&buffer, format));
        Node picture;
        picture.set("Picture.PropData", picturePropData(file));
        const QImage read = pictureOf(picture);
        EXPECT_EQ(read.size(), QSize(7, 5)) << format;
        EXPECT_GT(qRed(read.pixel(3, 2)), 200) << format;
    }
    EXPECT_TRUE(picturePropData("GIF89a, or anything else").isEmpty());

    const QString path = copyOf("vyd1.fr3");
    test::ScriptedPrompter prompter;
    DesignerWindow w(readTemplate(path), path, query("select 1 as N"));
    DesignerModel& m = w.model();
    m.insertObject(ObjectKind::Picture, named(m, "MasterData1"), m.rect(named(m, "MasterData1")).topLeft());
    w.changed();
    const ObjectRef inserted = m.selection().first();
    ASSERT_TRUE(red.save(dir.filePath("logo.png")));
    ASSERT_TRUE(w.loadPicture(dir.filePath("logo.png")));
    const std::optional<PreparedItem> shown = designItem(m.node(inserted), m.node(inserted.bandRef()));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->image.size(), QSize(7, 5));

    test::writeAll(dir.filePath("logo.txt"), "no picture");
    const QString before = m.node(inserted).text("Picture.PropData");
    EXPECT_FALSE(w.loadPicture(dir.filePath("logo.txt")));
    EXPECT_EQ(prompter.lastText(), "Soubor logo.txt není obrázek BMP, JPEG ani PNG.");
    EXPECT_EQ(m.node(inserted).text("Picture.PropData"), before);
}

TEST_F(Designer, AnObjectDraggedIntoAnotherBandBelongsToIt) {
    const std::unique_ptr<DesignerWindow> window = openDesigner("vyd1.fr3");
    DesignerWindow& w = *window;
    DesignerModel& m = w.model();
    const ObjectRef data = named(m, "MasterData1"), footer = named(m, "Footer1");
    const ObjectRef memo = m.objects(data).first();
    const QString name = m.node(memo).text("Name");
    const qsizetype dataObjects = m.objects(data).size();
    const QRectF before = m.rect(memo);
    const QPointF delta(0, std::ceil((m.rect(footer).top() + 4 - before.top()) / m.grid()) * m.grid());
    ASSERT_LT(before.top() + delta.y(), m.rect(footer).bottom());

    QWidget* view = w.findChild<QWidget*>("NavrhStranky");
    QTest::mousePress(view, Qt::LeftButton, {}, over(w, before.center()));
    QTest::mouseMove(view, over(w, before.center() + delta));
    QTest::mouseRelease(view, Qt::LeftButton, {}, over(w, before.center() + delta));
    const ObjectRef moved = named(m, name);
    EXPECT_EQ(moved.bandRef(), footer);
    EXPECT_EQ(m.rect(moved), before.translated(delta)) << "it stays where it was dropped";
    EXPECT_EQ(m.objects(data).size(), dataObjects - 1);
    EXPECT_EQ(m.selection(), QList<ObjectRef>({moved}));

    m.undo();
    EXPECT_EQ(named(m, name), memo);
    EXPECT_EQ(m.rect(memo), before);
}

TEST_F(Designer, ArrowsTakeASelectedBandPastItsNeighbour) {
    const std::unique_ptr<DesignerWindow> window = openDesigner("vyd1.fr3");
    DesignerWindow& w = *window;
    DesignerModel& m = w.model();
    const int page = m.pages().first();
    const auto byTop = [&] {
        QList<ObjectRef> order = m.bands(page);
        std::stable_sort(order.begin(), order.end(), [&](const ObjectRef& a, const ObjectRef& b) { return m.node(a).number("Top") < m.node(b).number("Top"); });
        return order;
    };
    const QList<ObjectRef> before = byTop();
    QMap<int, QString> tops;
    for (const ObjectRef& b : before) tops[b.band] = m.node(b).text("Top");
    const ObjectRef data = named(m, "MasterData1");
    const qsizetype at = before.indexOf(data);
    ASSERT_GT(at, 0);
    const ObjectRef upper = before[at - 1];
    const double gap = m.node(data).number("Top") - m.node(upper).number("Top") - m.node(upper).number("Height");

    m.select({data});
    w.changed();
    QTest::keyClick(w.findChild<QWidget*>("NavrhStranky"), Qt::Key_Up);
    QList<ObjectRef> expected = before;
    expected.swapItemsAt(at - 1, at);
    EXPECT_EQ(byTop(), expected);
    EXPECT_EQ(m.node(data).text("Top"), tops[upper.band]);
    EXPECT_DOUBLE_EQ(m.node(upper).number("Top"), m.node(data).number("Top") + m.node(data).number("Height") + gap) << "the gap stays";
    for (const ObjectRef& b : before) {
        if (b == data || b == upper) continue;
        EXPECT_EQ(m.node(b).text("Top"), tops[b.band]) << "the others stay";
    }

    w.findChild<QAction*>("PasNiz")->trigger();
    EXPECT_EQ(byTop(), before);
    for (const ObjectRef& b : before) EXPECT_DOUBLE_EQ(m.node(b).number("Top"), tops[b.band].toDouble());
    EXPECT_FALSE(m.moveBand(before.first(), -1)) << "nothing above the first band";
}

TEST_F(Designer, ClosingWithUnsavedChangesAsks) {
    const QString path = copyOf("fa1.fr3");
    const QByteArray before = test::readAll(path);
    test::ScriptedPrompter prompter;
    DesignerWindow w(readTemplate(path), path, {});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const ObjectRef band = w.model().bands(w.page()).first();
    w.model().select({band});
    w.model().setAttribute("StartNewPage", "True", "False");
    w.changed();

    prompter.answer(2); // Zpět: the window stays
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(prompter.asked[0].buttons, QStringList({"Uložit", "Neukládat", "Zpět"}));
    EXPECT_TRUE(prompter.asked[0].text.contains("fa1.fr3"));

    prompter.answer(1); // Neukládat
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(test::readAll(path), before);

    w.show();
    prompter.answer(0); // Uložit
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(readTemplate(path).root.children.at(band.page).children.at(band.band).boolean("StartNewPage", false));
}

TEST_F(Designer, ModelEditsUndoAndPaste) {
    const QString path = copyOf("vyd2.fr3");
    const Template original = readTemplate(path);
    DesignerModel m(original, path);
    const int page = m.pages().first();
    const QList<ObjectRef> bands = m.bands(page);
    ASSERT_GE(bands.size(), 3);

    // A taller band pushes the bands below it down by as much.
    const ObjectRef first = bands[0];
    QMap<QString, double> tops;
    for (const ObjectRef& b : bands) tops[m.node(b).text("Name")] = m.node(b).number("Top");
    m.select({first});
    m.resizeSelection(0, 20);
    for (const ObjectRef& b : bands) {
        const double expected = tops[m.node(b).text("Name")] + (b == first || tops[m.node(b).text("Name")] < tops[m.node(first).text("Name")] ? 0 : 20);
        EXPECT_DOUBLE_EQ(m.node(b).number("Top"), expected) << m.node(b).text("Name").toStdString();
    }

    // Copy and paste: a new name, one step aside from the original.
    const ObjectRef memo = m.objects(bands[1]).first();
    m.select({memo});
    const QByteArray clip = m.copySelection();
    m.paste(clip, page);
    ASSERT_EQ(m.selection().size(), 1);
    const Node& pasted = m.node(m.selection().first());
    EXPECT_NE(pasted.text("Name"), m.node(memo).text("Name"));
    EXPECT_EQ(m.rect(m.selection().first()).topLeft(), m.rect(memo).topLeft() + QPointF(8, 8));
    EXPECT_EQ(pasted.text("Text"), m.node(memo).text("Text"));

    const ObjectRef added = m.addBand(page, "TfrxGroupHeader");
    EXPECT_EQ(m.node(added).text("Name"), "GroupHeader1");
    m.insertObject(ObjectKind::Barcode, added, m.rect(added).topLeft() + QPointF(9, 3));
    EXPECT_EQ(m.node(m.selection().first()).text("Left"), "8") << "snapped to the grid";
    m.select({m.bands(page)[2]});
    m.deleteSelection();
    EXPECT_EQ(m.bands(page).size(), bands.size());

    const QByteArray edited = templateXml(m.report());
    while (m.canUndo()) m.undo();
    EXPECT_EQ(templateXml(m.report()), templateXml(original));
    while (m.canRedo()) m.redo();
    EXPECT_EQ(templateXml(m.report()), edited);
}

TEST_F(Designer, MissingTemplateIsSavedAsANewFile) {
    const QString path = dir.filePath("fr3/novy.fr3");
    DesignerModel m(Template(), path);
    const int page = m.pages().value(0, -1);
    ASSERT_GE(page, 0);
    const ObjectRef band = m.addBand(page, "TfrxMasterData");
    m.insertMemo(band, m.rect(band).topLeft(), "[frxDBDataset1.\"N\"]");
    m.save();
    const PreparedReport r = prepareReport(readTemplate(path), query("select 1 as N union all select 2"));
    ASSERT_EQ(r.pages.size(), 1);
    EXPECT_EQ(test::pageTexts(r.pages[0]), QStringList({"1", "2"}));
}

} // namespace
} // namespace dorvik::reporting
