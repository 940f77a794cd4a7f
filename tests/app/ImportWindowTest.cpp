// 境界データの読み込み in the window: the real dialog lists the attributes
// with their first values, the preview follows the encoding chosen, a CP932
// Shapefile without .cpg comes in with its names right, and the report
// after it names what came in.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>

#include "AppFixture.h"
#include "app/ImportDialog.h"
#include "text/ShiftJis.h"

namespace {

// Shift-JIS names written as they are, with no .cpg to say so.
QString WriteOldShapefile(const QTemporaryDir& dir) {
    GDALAllRegister();
    const QString shp = dir.filePath(QStringLiteral("old.shp"));
    {
        GDALDatasetUniquePtr ds(GetGDALDriverManager()->GetDriverByName("ESRI Shapefile")->Create(
            shp.toUtf8(), 0, 0, 0, GDT_Unknown, nullptr));
        const char* raw[] = {"ENCODING=", nullptr};
        OGRLayer* layer = ds->CreateLayer("old", nullptr, wkbPolygon, const_cast<char**>(raw));
        OGRFieldDefn code("CODE", OFTInteger), name("NAME", OFTString);
        layer->CreateField(&code);
        layer->CreateField(&name);
        const char* names[] = {"港区", "中央区"};
        for (int i = 0; i < 2; ++i) {
            OGRFeatureUniquePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            f->SetField("CODE", 13103 - i);
            f->SetField("NAME", sjis::FromUnicode(QString::fromUtf8(names[i])).c_str());
            OGRGeometry* g = nullptr;
            const QByteArray wkt = QStringLiteral("POLYGON((%1 0,%2 0,%2 8,%1 8,%1 0))")
                                       .arg(i * 10)
                                       .arg(i * 10 + 10)
                                       .toUtf8();
            OGRGeometryFactory::createFromWkt(wkt.constData(), nullptr, &g);
            f->SetGeometryDirectly(g);
            EXPECT_EQ(layer->CreateFeature(f.get()), OGRERR_NONE);
        }
    }
    QFile::remove(dir.filePath(QStringLiteral("old.cpg")));
    return shp;
}

QString PreviewOf(ImportDialog* d, const QString& attribute) {
    for (int row = 0; row < d->Attributes()->rowCount(); ++row)
        if (d->Attributes()->item(row, 0)->text() == attribute)
            return d->Attributes()->item(row, 1)->text();
    return {};
}

}  // namespace

TEST_F(AppTest, TheImportDialogPreviewsNamesInTheChosenEncodingAndReportsTheImport) {
    QTemporaryDir files;
    const QString shp = WriteOldShapefile(files);
    QStringList attributes;
    QString chosenField, found, asCp932, asLatin, headline;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<ImportDialog*>(w)) {
            for (int row = 0; row < d->Attributes()->rowCount(); ++row)
                attributes << d->Attributes()->item(row, 0)->text();
            chosenField = d->Attributes()->item(d->Attributes()->currentRow(), 0)->text();
            found = d->Encoding()->currentText();
            asCp932 = PreviewOf(d, QStringLiteral("NAME"));
            d->Encoding()->setCurrentIndex(d->Encoding()->findData(QStringLiteral("ISO-8859-1")));
            asLatin = PreviewOf(d, QStringLiteral("NAME"));
            d->Encoding()->setCurrentIndex(d->Encoding()->findData(QStringLiteral("CP932")));
            d->accept();
        } else if (auto* f = qobject_cast<QFileDialog*>(w)) {
            QMetaObject::invokeMethod(f, "accept");  // the proposed old.vlm beside the source
        } else if (auto* r = qobject_cast<ReportDialog*>(w)) {
            headline = r->findChild<QLabel*>(QStringLiteral("ReportHeadline"))->text();
            r->accept();
        }
    });
    driver.start(20);
    app->ui.PresetOpenFile(shp);
    Win().findChild<QAction*>(QStringLiteral("ImportBoundaries"))->trigger();
    driver.stop();

    EXPECT_EQ(attributes, (QStringList{"CODE", "NAME"}));
    EXPECT_EQ(chosenField, QStringLiteral("NAME"));  // the first text attribute
    EXPECT_EQ(found, QStringLiteral("CP932 (ファイルから判断)"));
    EXPECT_EQ(asCp932, QStringLiteral("港区, 中央区"));
    EXPECT_FALSE(asLatin.isEmpty());
    EXPECT_NE(asLatin, asCp932);
    ASSERT_EQ(app->ed.st.AreaCount, 2);
    EXPECT_EQ(sjis::ToUnicode(app->ed.st.AreaName(2)), QStringLiteral("中央区"));
    EXPECT_EQ(app->ed.st.WorkFileName, files.filePath(QStringLiteral("old.vlm")));
    EXPECT_TRUE(headline.startsWith(QStringLiteral("old.shp から区域 2 (地物 2 件)")))
        << headline.toStdString();
}
