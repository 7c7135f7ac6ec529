// Builds the user's manual, MEDRAVOLIX_users_manual_ENG_SPA.pdf, from its Markdown sources: each
// language in turn (English, then Spanish), each starting on a new page with its title and its
// own contents list (the section headings with their pages), on A4 pages numbered at the foot.
// A source marks where its contents list goes with the invisible Markdown line
//   [contents]: # "Contents"
// whose quoted text is the list's title. Pictures are looked up by file name in the pictures
// folder; a picture that is missing stops the build.
//
// usage: make_manual <output.pdf> <pictures folder> <manual_en.md> <manual_es.md> ...
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextLayout>
#include <QTextOption>
#include <QTextTable>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

const QString kMarca = QStringLiteral("@@contents@@");
constexpr int kResolucion = 300;         // dots per inch of the PDF's layout
constexpr double kPuntoPantalla = 96.0;  // a window picture's pixel, at screen size
constexpr double kPieMm = 10;            // the foot of the page, where its number stands

double mmAPuntos(double mm) {
  return mm / 25.4 * kResolucion;
}

// One language's contents list: a line for each heading, with the heading's page after a tab.
struct Indice {
  std::vector<QTextBlock> lineas;
  std::vector<QTextBlock> titulos;
};

QString leer(const QString& archivo) {
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly))
    throw std::runtime_error("cannot read " + archivo.toStdString());
  return QString::fromUtf8(f.readAll());
}

// The source with its contents line turned into a marker paragraph; `titulo` gets the list's
// title.
QString conMarca(QString texto, QStringList& titulos) {
  static const QRegularExpression linea(QStringLiteral("^\\[contents\\]: # \"([^\"]*)\"$"),
                                        QRegularExpression::MultilineOption);
  const QRegularExpressionMatch m = linea.match(texto);
  if (!m.hasMatch()) throw std::runtime_error("a source has no [contents] line");
  titulos << m.captured(1);
  return texto.replace(m.capturedStart(), m.capturedLength(), kMarca);
}

// Every picture at its file's size on a screen, made smaller when it is wider than the text or
// taller than two fifths of a page, with some room above and below.
void cargarImagenes(QTextDocument& doc, const QDir& fotos, QSizeF pagina) {
  std::vector<std::pair<int, int>> tramos;  // the pictures' places, found before any is changed
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      if (it.fragment().charFormat().isImageFormat()) {
        tramos.emplace_back(it.fragment().position(), it.fragment().length());
      }
    }
  }
  for (const auto& [inicio, largo] : tramos) {
    QTextCursor c(&doc);
    c.setPosition(inicio);
    c.setPosition(inicio + largo, QTextCursor::KeepAnchor);
    QTextImageFormat formato = c.charFormat().toImageFormat();
    const QString archivo = fotos.filePath(QFileInfo(formato.name()).fileName());
    const QImage imagen(archivo);
    if (imagen.isNull()) throw std::runtime_error("no picture " + archivo.toStdString());
    doc.addResource(QTextDocument::ImageResource, QUrl(formato.name()), imagen);
    // The layout takes a picture's size in screen pixels and scales it to the page's dots.
    const double a_pantalla = kPuntoPantalla / kResolucion;
    const double escala = std::min({1.0, pagina.width() * a_pantalla / imagen.width(),
                                    pagina.height() * a_pantalla * 0.4 / imagen.height()});
    formato.setWidth(imagen.width() * escala);
    formato.setHeight(imagen.height() * escala);
    c.setCharFormat(formato);
    QTextBlockFormat aire;
    aire.setTopMargin(mmAPuntos(3));
    aire.setBottomMargin(mmAPuntos(1));
    c.mergeBlockFormat(aire);
  }
}

// Headings: more room above them; each language's title starts a page.
void formatearTitulos(QTextDocument& doc) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const int nivel = b.blockFormat().headingLevel();
    if (nivel == 0) continue;
    QTextBlockFormat formato;
    formato.setTopMargin(nivel == 1 ? 0 : mmAPuntos(nivel == 2 ? 5 : 2.5));
    formato.setBottomMargin(mmAPuntos(2));
    if (nivel == 1 && b.position() > 0)
      formato.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(b).mergeBlockFormat(formato);
  }
}

// Table cells one text line high: no room above or below their paragraphs.
void juntarCeldas(QTextDocument& doc) {
  QTextBlockFormat junto;
  junto.setTopMargin(0);
  junto.setBottomMargin(0);
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (QTextCursor(b).currentTable()) QTextCursor(b).mergeBlockFormat(junto);
  }
}

// Markdown tables: thin ruled cells with a little room inside.
void formatearTablas(QTextDocument& doc) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    QTextTable* tabla = QTextCursor(b).currentTable();
    if (!tabla || tabla->firstPosition() != b.position()) continue;
    QTextTableFormat formato = tabla->format();
    formato.setBorder(mmAPuntos(0.15));
    formato.setBorderBrush(QColor(150, 150, 150));
    formato.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    formato.setBorderCollapse(true);
    formato.setCellPadding(mmAPuntos(0.6));
    formato.setCellSpacing(0);
    formato.setHeaderRowCount(1);  // the heading row again on every page the table spans
    formato.setTopMargin(mmAPuntos(1.5));
    formato.setBottomMargin(mmAPuntos(2.5));
    tabla->setFormat(formato);
  }
}

// The headings (levels 2 and 3) from `desde` up to the next language's title.
std::vector<QTextBlock> titulosDesde(QTextBlock desde) {
  std::vector<QTextBlock> titulos;
  for (QTextBlock b = desde.next(); b.isValid(); b = b.next()) {
    const int nivel = b.blockFormat().headingLevel();
    if (nivel == 1) break;
    if (nivel == 2 || nivel == 3) titulos.push_back(b);
  }
  return titulos;
}

// Replaces the marker paragraph with the list's title and a line for each heading after it:
// the heading's text and, at the right margin, its page.
Indice ponerIndice(QTextBlock marca, const QString& titulo, double ancho) {
  Indice indice;
  indice.titulos = titulosDesde(marca);
  QTextCursor c(marca);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  QTextCharFormat grande;
  grande.setFontWeight(QFont::Bold);
  grande.setFontPointSize(13);
  c.insertText(titulo, grande);
  for (const QTextBlock& t : indice.titulos) {
    const bool seccion = t.blockFormat().headingLevel() == 2;
    QTextBlockFormat linea;
    const double sangria = seccion ? 0 : mmAPuntos(6);
    linea.setLeftMargin(sangria);
    linea.setTopMargin(seccion ? mmAPuntos(1.5) : 0);
    linea.setBottomMargin(0);
    // A tab stop just inside the right margin, measured from the indented edge in screen pixels
    // (the layout scales it to the page's dots, as it does a picture's size).
    const double tope = (ancho - sangria) * kPuntoPantalla / kResolucion - 1;
    linea.setTabPositions({QTextOption::Tab(tope, QTextOption::RightTab)});
    QTextCharFormat letra;
    letra.setFontWeight(seccion ? QFont::Bold : QFont::Normal);
    c.insertBlock(linea, letra);
    c.insertText(t.text() + QStringLiteral("\t"));
    indice.lineas.push_back(c.block());
  }
  QTextBlockFormat despues;
  despues.setBottomMargin(mmAPuntos(4));
  c.mergeBlockFormat(despues);
  return indice;
}

// The page of a block's first line (a line that does not fit at the foot of a page moves to the
// next one, while its block starts on the first).
int paginaDe(const QTextDocument& doc, const QTextBlock& b) {
  double arriba = doc.documentLayout()->blockBoundingRect(b).top();
  if (b.layout() && b.layout()->lineCount() > 0) arriba += b.layout()->lineAt(0).y();
  // A line moved to the next page starts a fraction of a dot above it (rounding).
  return static_cast<int>((arriba + 1.0) / doc.pageSize().height()) + 1;
}

// Writes each heading's page after its line's tab; returns whether any number changed. The pages
// are all read before the first change, and the changes made as one edit, so the document is
// laid out again once.
bool numerarIndice(QTextDocument& doc, const Indice& indice) {
  std::vector<QString> paginas;
  for (const QTextBlock& t : indice.titulos) paginas.push_back(QString::number(paginaDe(doc, t)));
  QTextCursor c(&doc);
  c.beginEditBlock();
  bool cambio = false;
  for (std::size_t i = 0; i < indice.titulos.size(); ++i) {
    const QTextBlock& linea = indice.lineas[i];
    const int tab = static_cast<int>(linea.text().lastIndexOf(QLatin1Char('\t')));
    if (linea.text().mid(tab + 1) == paginas[i]) continue;
    c.setPosition(linea.position() + tab + 1);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(paginas[i]);
    cambio = true;
  }
  c.endEditBlock();
  return cambio;
}

// A heading left alone at the foot of a page moves to the next page, with what follows it.
bool unirTitulosAlTexto(QTextDocument& doc) {
  std::vector<QTextBlock> solos;
  for (QTextBlock b = doc.begin(); b.isValid() && b.next().isValid(); b = b.next()) {
    if (b.blockFormat().headingLevel() == 0) continue;
    if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;
    if (paginaDe(doc, b) != paginaDe(doc, b.next())) solos.push_back(b);
  }
  QTextCursor c(&doc);
  c.beginEditBlock();
  QTextBlockFormat salto;
  salto.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  for (const QTextBlock& b : solos) {
    c.setPosition(b.position());
    c.mergeBlockFormat(salto);
  }
  c.endEditBlock();
  return !solos.empty();
}

void imprimir(QTextDocument& doc, QPdfWriter& pdf, QPainter& p) {
  const QSizeF pagina = doc.pageSize();
  for (int i = 0; i < doc.pageCount(); ++i) {
    if (i > 0) pdf.newPage();
    p.save();
    p.translate(0, -i * pagina.height());
    QAbstractTextDocumentLayout::PaintContext contexto;
    // A line moved to the next page may start a fraction of a dot above it: the page's last dot
    // is left out, so no sliver of it shows at the foot of this one.
    contexto.clip = QRectF(0, i * pagina.height(), pagina.width(), pagina.height() - 1);
    p.setClipRect(contexto.clip);
    doc.documentLayout()->draw(&p, contexto);
    p.restore();
    p.setFont(doc.defaultFont());
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(0, pagina.height(), pagina.width(), mmAPuntos(kPieMm)), Qt::AlignCenter,
               QStringLiteral("MEDRAVOLIX  \u2013  %1").arg(i + 1));
  }
}

int hacerManual(const QStringList& args) {
  QPdfWriter pdf(args[0]);
  pdf.setResolution(kResolucion);
  pdf.setPageSize(QPageSize(QPageSize::A4));
  pdf.setPageMargins(QMarginsF(20, 16, 20, 12), QPageLayout::Millimeter);
  pdf.setTitle(QStringLiteral("MEDRAVOLIX user's manual / Manual del usuario"));
  pdf.setCreator(QStringLiteral("MEDRAVOLIX"));
  QTextDocument doc;
  doc.documentLayout()->setPaintDevice(&pdf);
  doc.setDocumentMargin(0);
  QFont letra(QStringLiteral("DejaVu Sans"), 10);
  doc.setDefaultFont(letra);
  doc.setPageSize(QSizeF(pdf.width(), pdf.height() - mmAPuntos(kPieMm)));
  QStringList titulos;
  QString texto;
  for (int i = 2; i < args.size(); ++i) texto += conMarca(leer(args[i]), titulos) + "\n\n";
  doc.setMarkdown(texto);
  // The changes below are one edit: the document is laid out again once, at its end.
  QTextCursor edicion(&doc);
  edicion.beginEditBlock();
  cargarImagenes(doc, QDir(args[1]), doc.pageSize());
  formatearTitulos(doc);
  formatearTablas(doc);
  std::vector<Indice> indices;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b.text() == kMarca)
      indices.push_back(ponerIndice(b, titulos[indices.size()], doc.pageSize().width()));
  }
  juntarCeldas(doc);
  edicion.endEditBlock();
  for (int pasada = 0; pasada < 8; ++pasada) {
    bool cambio = unirTitulosAlTexto(doc);
    for (const Indice& indice : indices) cambio = numerarIndice(doc, indice) || cambio;
    if (!cambio) break;
  }
  QPainter p(&pdf);
  imprimir(doc, pdf, p);
  return p.end() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);  // the same pictures on every machine
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments().mid(1);
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: make_manual <output.pdf> <pictures folder> <source.md>...\n");
    return 2;
  }
  try {
    return hacerManual(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_manual: %s\n", e.what());
    return 1;
  }
}
