// Builds the user's manual, MEDRAVOLIX_users_manual_ENG_SPA.pdf, from its Markdown sources: each
// language in turn (English, then Spanish), each starting on a new page with its title and its
// own contents list (the section headings with their pages), on A4 pages numbered at the foot.
// A source marks where its contents list goes with the invisible Markdown line
//   [contents]: # "Contents"
// whose quoted text is the list's title. Pictures are looked up by file name in the pictures
// folder; a picture that is missing stops the build.
//
// The pages are cut by this program, not by the text layout: the document is laid out as one
// long page, and each printed page shows a slice of it that ends between two lines, between two
// table rows or between two paragraphs, never inside a line or a row. A heading stays with what
// follows it, a paragraph ending in a colon with the picture it introduces and a picture with its
// caption, a table's heading row with its first row, and a table that goes on to a new page
// shows its heading row again there. A paragraph's last line and a table's last row never stand
// alone at the top of a page, and a section's line in a contents list stays with the line of its
// first subsection. Each page draws only the lines wholly inside its slice, so no line is
// printed, whole or clipped, on two pages.
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
#include <cmath>
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
// A paragraph's property: it stays on the page of the paragraph after it.
constexpr int kConSiguiente = QTextFormat::UserProperty;

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
    // The layout takes a picture's size in screen pixels and scales it to the page's dots. A
    // window's picture holds more pixels than the window has on a screen, and says so by its
    // resolution.
    const double a_pantalla = kPuntoPantalla / kResolucion;
    const double por_pixel = kPuntoPantalla / (imagen.dotsPerMeterX() * 0.0254);
    const QSizeF en_pantalla(imagen.width() * por_pixel, imagen.height() * por_pixel);
    const double escala = std::min({1.0, pagina.width() * a_pantalla / en_pantalla.width(),
                                    pagina.height() * a_pantalla * 0.4 / en_pantalla.height()});
    formato.setWidth(en_pantalla.width() * escala);
    formato.setHeight(en_pantalla.height() * escala);
    c.setCharFormat(formato);
    QTextBlockFormat aire;
    aire.setTopMargin(mmAPuntos(3));
    aire.setBottomMargin(mmAPuntos(1));
    c.mergeBlockFormat(aire);
  }
}

// Headings: more room above them.
void formatearTitulos(QTextDocument& doc) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const int nivel = b.blockFormat().headingLevel();
    if (nivel == 0) continue;
    QTextBlockFormat formato;
    formato.setTopMargin(nivel == 1 ? 0 : mmAPuntos(nivel == 2 ? 5 : 2.5));
    formato.setBottomMargin(mmAPuntos(2));
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
// the heading's text and, at the right margin, its page. The title stays with the first line,
// and a section's line with the line of its first subsection.
Indice ponerIndice(QTextBlock marca, const QString& titulo, double ancho) {
  Indice indice;
  indice.titulos = titulosDesde(marca);
  QTextCursor c(marca);
  QTextBlockFormat con_siguiente;
  con_siguiente.setProperty(kConSiguiente, true);
  c.mergeBlockFormat(con_siguiente);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  QTextCharFormat grande;
  grande.setFontWeight(QFont::Bold);
  grande.setFontPointSize(13);
  c.insertText(titulo, grande);
  for (std::size_t i = 0; i < indice.titulos.size(); ++i) {
    const QTextBlock& t = indice.titulos[i];
    const bool seccion = t.blockFormat().headingLevel() == 2;
    QTextBlockFormat linea;
    linea.setProperty(kConSiguiente, seccion && i + 1 < indice.titulos.size() &&
                                         indice.titulos[i + 1].blockFormat().headingLevel() == 3);
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

// A unit of the long page that is never cut: a line of a paragraph, a whole list item (its
// number or bullet is drawn with its first line), a table row.
struct Tramo {
  double arriba = 0;  // its top and bottom on the long page
  double abajo = 0;
  // For a table row, the rules above and below it (on a page where the table goes on, the
  // repeated heading row's lower rule is drawn over the row's upper rule).
  double raya_arriba = 0;
  double raya_abajo = 0;
  bool con_siguiente = false;  // stays on the page of the unit after it
  bool salto_antes = false;    // starts a page
  QTextBlock bloque;           // a paragraph's unit: the paragraph and its first line's index
  int linea = 0;
  const QTextTable* tabla = nullptr;
  int fila = -1;
};

// A slice of the long page, drawn on the printed page at height `destino`.
struct Corte {
  double arriba;
  double abajo;
  double destino;
  // A paragraph cut at the slice's top, from its line `desde` on.
  QTextBlock partido = {};
  int desde = 0;
};

struct Pagina {
  std::vector<Corte> cortes;
  std::size_t primero = 0;  // the units it shows, from `primero` to before `fin`
  std::size_t fin = 0;
};

bool tieneImagen(const QTextBlock& b) {
  if (!b.isValid()) return false;
  for (auto it = b.begin(); !it.atEnd(); ++it) {
    if (it.fragment().charFormat().isImageFormat()) return true;
  }
  return false;
}

void tramosDeBloque(const QTextDocument& doc, const QTextBlock& b, std::vector<Tramo>& tramos) {
  const QTextLayout* capa = b.layout();
  if (!capa || capa->lineCount() == 0) return;
  // The lines' places are measured from the layout's origin, which lies above its first line
  // by that line's place.
  const double arriba =
      doc.documentLayout()->blockBoundingRect(b).top() - capa->boundingRect().top();
  const int nivel = b.blockFormat().headingLevel();
  const bool entero = b.textList() != nullptr;
  // A picture stays with its caption, below it, and a paragraph that ends in a colon stays
  // with the picture it introduces.
  const bool imagen = tieneImagen(b);
  const bool presenta = nivel == 0 && b.text().trimmed().endsWith(u':') && tieneImagen(b.next());
  const bool junto = nivel > 0 || imagen || presenta || b.blockFormat().boolProperty(kConSiguiente);
  const std::size_t primero = tramos.size();
  for (int i = 0; i < capa->lineCount(); ++i) {
    const QTextLine linea = capa->lineAt(i);
    Tramo t;
    t.arriba = arriba + linea.y();
    t.abajo = t.arriba + linea.height();
    t.con_siguiente = junto;
    t.bloque = b;
    t.linea = i;
    if (entero && i > 0) {
      tramos.back().abajo = t.abajo;
    } else {
      tramos.push_back(t);
    }
  }
  tramos[primero].salto_antes = nivel == 1 && b.position() > 0;
  // The last line of a paragraph is never alone at the top of a page: the line before it goes
  // on with it.
  if (tramos.size() - primero >= 2) tramos[tramos.size() - 2].con_siguiente = true;
}

void tramosDeTabla(const QTextDocument& doc, const QTextTable& tabla, std::vector<Tramo>& tramos) {
  const int filas = tabla.rows();
  if (filas == 0) return;
  // The top of each row's text and the bottom of its tallest cell's text.
  std::vector<double> texto_arriba(filas, 1e300);
  std::vector<double> texto_abajo(filas, -1e300);
  for (int f = 0; f < filas; ++f) {
    for (int c = 0; c < tabla.columns(); ++c) {
      const QTextTableCell celda = tabla.cellAt(f, c);
      for (auto it = celda.begin(); !it.atEnd(); ++it) {
        if (!it.currentBlock().isValid()) continue;
        const QRectF caja = doc.documentLayout()->blockBoundingRect(it.currentBlock());
        texto_arriba[f] = std::min(texto_arriba[f], caja.top());
        texto_abajo[f] = std::max(texto_abajo[f], caja.bottom());
      }
    }
  }
  // Between two rows lies a rule, halfway between their texts; a row's slice ends at the outer
  // edges of its rules (the layout takes the rule's width in screen pixels, as a picture's size).
  const double media_raya = tabla.format().border() * kResolucion / kPuntoPantalla / 2 + 0.5;
  double media_holgura = 0;  // half the blank between two rows' texts
  for (int f = 0; f + 1 < filas; ++f) media_holgura += (texto_arriba[f + 1] - texto_abajo[f]) / 2;
  media_holgura = filas > 1 ? media_holgura / (filas - 1) : mmAPuntos(1);
  for (int f = 0; f < filas; ++f) {
    Tramo t;
    t.tabla = &tabla;
    t.fila = f;
    t.raya_arriba =
        f == 0 ? texto_arriba[f] - media_holgura : (texto_abajo[f - 1] + texto_arriba[f]) / 2;
    t.raya_abajo = f + 1 == filas ? texto_abajo[f] + media_holgura
                                  : (texto_abajo[f] + texto_arriba[f + 1]) / 2;
    t.arriba = t.raya_arriba - media_raya;
    t.abajo = t.raya_abajo + media_raya;
    // The heading row is never left alone at the foot of a page, nor the last row alone (under
    // the heading row shown again) at the top of one.
    const int cabeceras = tabla.format().headerRowCount();
    t.con_siguiente = (f < cabeceras && f + 1 < filas) || (f >= cabeceras && f + 2 == filas);
    tramos.push_back(t);
  }
}

// The document's units from top to bottom.
std::vector<Tramo> tramosDe(const QTextDocument& doc) {
  doc.documentLayout()->documentSize();  // the whole document laid out
  std::vector<Tramo> tramos;
  for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
    if (const auto* tabla = qobject_cast<const QTextTable*>(it.currentFrame())) {
      tramosDeTabla(doc, *tabla, tramos);
    } else if (it.currentFrame()) {
      const QRectF caja = doc.documentLayout()->frameBoundingRect(it.currentFrame());
      Tramo t;
      t.arriba = caja.top();
      t.abajo = caja.bottom();
      tramos.push_back(t);
    } else if (it.currentBlock().isValid()) {
      tramosDeBloque(doc, it.currentBlock(), tramos);
    }
  }
  for (Tramo& t : tramos) {
    t.raya_arriba = t.tabla ? t.raya_arriba : t.arriba;
    t.raya_abajo = t.tabla ? t.raya_abajo : t.abajo;
  }
  return tramos;
}

// Cuts the long page into pages `alto` high. A page ends before the first unit that does not
// fit, or before a unit that starts a page; units kept with the next one go on to the next
// page with it. A page that starts inside a table shows the table's heading row first.
std::vector<Pagina> cortarPaginas(const std::vector<Tramo>& tramos, double alto) {
  std::vector<Pagina> paginas;
  std::size_t i = 0;
  while (i < tramos.size()) {
    Pagina pagina;
    pagina.primero = i;
    double destino = 0;
    const Tramo& primero = tramos[i];
    if (primero.tabla && primero.fila >= primero.tabla->format().headerRowCount()) {
      std::size_t c = i;
      while (tramos[c].tabla != primero.tabla || tramos[c].fila != 0) --c;
      const int cabeceras = primero.tabla->format().headerRowCount();
      const Tramo& ultima = tramos[c + cabeceras - 1];
      pagina.cortes.push_back({tramos[c].arriba, ultima.abajo, 0});
      destino = (ultima.raya_abajo - tramos[c].arriba) - (primero.raya_arriba - primero.arriba);
    }
    std::size_t j = i + 1;
    while (j < tramos.size() && !tramos[j].salto_antes &&
           destino + tramos[j].abajo - primero.arriba <= alto) {
      ++j;
    }
    if (j < tramos.size() && !tramos[j].salto_antes) {
      std::size_t k = j;
      while (k > i + 1 && tramos[k - 1].con_siguiente) --k;
      if (!tramos[k - 1].con_siguiente) j = k;
    }
    Corte cuerpo{primero.arriba, tramos[j - 1].abajo, destino};
    if (primero.linea > 0) {
      cuerpo.partido = primero.bloque;
      cuerpo.desde = primero.linea;
    }
    pagina.cortes.push_back(cuerpo);
    pagina.fin = j;
    paginas.push_back(pagina);
    i = j;
  }
  return paginas;
}

// The page (from 1) that shows the first line of paragraph `bloque`.
int paginaDe(const std::vector<Tramo>& tramos, const std::vector<Pagina>& paginas, int bloque) {
  for (std::size_t p = 0; p < paginas.size(); ++p) {
    for (std::size_t i = paginas[p].primero; i < paginas[p].fin; ++i) {
      if (tramos[i].bloque.blockNumber() == bloque && tramos[i].linea == 0) {
        return static_cast<int>(p) + 1;
      }
    }
  }
  return 0;
}

// Writes each heading's page after its line's tab; returns whether any number changed. The pages
// are all read before the first change, and the changes made as one edit, so the document is
// laid out again once.
bool numerarIndice(QTextDocument& doc, const Indice& indice, const std::vector<Tramo>& tramos,
                   const std::vector<Pagina>& paginas) {
  std::vector<QString> numeros;
  for (const QTextBlock& t : indice.titulos) {
    numeros.push_back(QString::number(paginaDe(tramos, paginas, t.blockNumber())));
  }
  QTextCursor c(&doc);
  c.beginEditBlock();
  bool cambio = false;
  for (std::size_t i = 0; i < indice.titulos.size(); ++i) {
    const QTextBlock& linea = indice.lineas[i];
    const int tab = static_cast<int>(linea.text().lastIndexOf(QLatin1Char('\t')));
    if (linea.text().mid(tab + 1) == numeros[i]) continue;
    c.setPosition(linea.position() + tab + 1);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(numeros[i]);
    cambio = true;
  }
  c.endEditBlock();
  return cambio;
}

// Draws each page's slices. The layout draws every line that touches the area it is given, so
// the area stops half a dot inside the slice: the line just above or below it, which touches
// the slice's edge, is left to its own page.
void imprimir(QTextDocument& doc, const std::vector<Pagina>& paginas, QSizeF pagina,
              QPdfWriter& pdf, QPainter& p) {
  for (std::size_t i = 0; i < paginas.size(); ++i) {
    if (i > 0) pdf.newPage();
    for (const Corte& corte : paginas[i].cortes) {
      p.save();
      p.translate(0, corte.destino - corte.arriba);
      const QRectF tajada(-pagina.width(), corte.arriba, 3 * pagina.width(),
                          corte.abajo - corte.arriba);
      p.setClipRect(tajada);
      QAbstractTextDocumentLayout::PaintContext contexto;
      contexto.clip = tajada.adjusted(0, 0.5, 0, -0.5);
      if (corte.partido.isValid()) {
        // The layout would also draw, unseen, the line above the slice of a cut paragraph: its
        // lines on this page are drawn one by one, and the layout draws what follows them.
        const QTextLayout* capa = corte.partido.layout();
        const QPointF origen = doc.documentLayout()->blockBoundingRect(corte.partido).topLeft() -
                               capa->boundingRect().topLeft();
        p.setPen(contexto.palette.color(QPalette::Text));
        for (int k = corte.desde; k < capa->lineCount(); ++k) {
          const QTextLine linea = capa->lineAt(k);
          if (origen.y() + linea.y() + linea.height() > corte.abajo) break;
          linea.draw(&p, origen);
        }
        contexto.clip.setTop(doc.documentLayout()->blockBoundingRect(corte.partido).bottom() + 0.5);
      }
      if (contexto.clip.height() > 0) doc.documentLayout()->draw(&p, contexto);
      p.restore();
    }
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
  const QSizeF pagina(pdf.width(), pdf.height() - mmAPuntos(kPieMm));
  doc.setPageSize(QSizeF(pagina.width(), -1));  // one long page, cut into pages below
  QStringList titulos;
  QString texto;
  for (int i = 2; i < args.size(); ++i) texto += conMarca(leer(args[i]), titulos) + "\n\n";
  doc.setMarkdown(texto);
  // The changes below are one edit: the document is laid out again once, at its end.
  QTextCursor edicion(&doc);
  edicion.beginEditBlock();
  cargarImagenes(doc, QDir(args[1]), pagina);
  formatearTitulos(doc);
  formatearTablas(doc);
  std::vector<Indice> indices;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b.text() == kMarca)
      indices.push_back(ponerIndice(b, titulos[indices.size()], pagina.width()));
  }
  juntarCeldas(doc);
  edicion.endEditBlock();
  std::vector<Tramo> tramos = tramosDe(doc);
  std::vector<Pagina> paginas = cortarPaginas(tramos, pagina.height());
  for (int pasada = 0; pasada < 8; ++pasada) {
    bool cambio = false;
    for (const Indice& indice : indices)
      cambio = numerarIndice(doc, indice, tramos, paginas) || cambio;
    if (!cambio) break;
    tramos = tramosDe(doc);
    paginas = cortarPaginas(tramos, pagina.height());
  }
  QPainter p(&pdf);
  // The pictures go into the PDF without loss: no JPEG blur on the windows' small letters.
  p.setRenderHint(QPainter::LosslessImageRendering);
  imprimir(doc, paginas, pagina, pdf, p);
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
