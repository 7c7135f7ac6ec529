// "Annotate": where a block or row lands (where the batch will look for it), what stops it before
// anything is written (a sheet out of shape, an id already there, another program holding the
// workbook, a cell that cannot be written), the save and its failure, and a round trip on a copy
// of the sample workbook: read back by openpyxl, then found by a batch.
#include "batch/anotacion.h"

#include <filesystem>
#include <fstream>
#include <limits>

#include "batch/ejecutar_batch.h"
#include "batch/lectura_batch.h"
#include "libro_prueba.h"
#include "support/fake_dialogs.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

namespace fs = std::filesystem;
using namespace prueba;
using Forma = BloqueAnotacion::Forma;
using testing::FakeDialogs;
using testing::ScratchDir;
using workbook::Workbook;

std::string bytes(const fs::path& path) {
  return testing::ReadFile(path);
}

// Twelve rows for Clim_batch or Crop_batch: the id, then month m + base in columns 2 to 4 and
// the month's name in column 5.
BloqueAnotacion bloque12(std::string hoja, const std::string& id, double base = 0) {
  static const char* const kMeses[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  BloqueAnotacion b{std::move(hoja), Forma::Bloque12, {}};
  for (int m = 1; m <= 12; ++m) {
    b.filas.push_back(
        {T(id), N(base + m), N(base + m + 0.5), N(base + m / 10.0), T(kMeses[m - 1])});
    // Within the batch's ranges: the rainy days of the month, a basal coefficient and a cover.
    if (b.hoja == kHojaClimas) b.filas.back()[2] = N((base + m + 0.5) / 10);
    if (b.hoja != kHojaCultivos) continue;
    b.filas.back()[1] = N((base + m) / 100);
    b.filas.back()[3] = N((base + m) / 1000);
  }
  return b;
}

// One Irrigat_batch row: the id, 29 numbers (the wetted fraction 0.26).
BloqueAnotacion filaRiego(const std::string& id) {
  BloqueAnotacion b{std::string(kHojaRiegos), Forma::Fila, {{T(id)}}};
  for (int c = 2; c <= 25; ++c) b.filas[0].push_back(N(c));
  b.filas[0].push_back(N(0.26));
  for (const double pct : {40, 30, 20, 10}) b.filas[0].push_back(N(pct));  // root uptake shares
  return b;
}

// ---- where the block goes -------------------------------------------------------------------

void dosBloques(LibroPrueba& p) {
  p.bloque(kHojaClimas, 2, T("A"), 0);
  p.bloque(kHojaClimas, 14, T("B"), 0);
}

// Clim_batch under its heading, perhaps with the blocks "A" and "B" on rows 2 and 14, and `valor`
// in column `columna` of rows `desde` to `hasta` (none for 0).
const struct {
  const char* nombre;
  bool dos_bloques;
  int desde, hasta, columna;
  CellValue valor;
  int fila;              // 0: refused
  const char* problema;  // words of the refusal's text
} kCasosBloque[] = {
    {"HeadingAndTwoBlocks", true, 0, 0, 1, {}, 26, ""},
    {"EmptySheetUnderAHeading", false, 0, 0, 1, {}, 2, ""},
    {"NoHeading",
     false,
     1,
     1,
     1,
     {},
     0,
     "Clim_batch has no heading in row 1: cell Clim_batch!A1 is empty."},
    {"CellInTheWay", true, 27, 27, 2, N(5), 0,
     "The next block of Clim_batch belongs on rows 26 to 37, where a batch will look for it, "
     "but this cell there is not empty: Clim_batch!B27. Clear it, or move what it holds, "
     "so that rows 26 to 37 are empty in columns A to E, and click \"Annotate\" again."},
    {"IdOfAShiftedBlockInTheWay", true, 37, 37, 1, T("X"), 0, "not empty: Clim_batch!A37."},
    {"ShortBlockAboveGoesToTheNextBlockStart", false, 2, 8, 1, T("short"), 14, ""},
    {"ColumnsThatTheBlockDoesNotWriteDoNotCount", true, 26, 26, 6, T("a note"), 26, ""},
    {"EmptyTextOnTheBlockStartIsEmpty", true, 26, 26, 1, T(""), 26, ""},
    {"ManyCellsInTheWay", false, 3, 12, 2, N(1), 0,
     "Clim_batch!B3, Clim_batch!B4, Clim_batch!B5, Clim_batch!B6, Clim_batch!B7, "
     "Clim_batch!B8, Clim_batch!B9, Clim_batch!B10 and 2 more cells. Clear them, or move what "
     "they hold,"},
};

TEST(LugarBloque, AtTheFirstEmptyBlockStartOrRefused) {
  for (const auto& c : kCasosBloque) {
    SCOPED_TRACE(c.nombre);
    LibroPrueba p;
    if (c.dos_bloques) dosBloques(p);
    for (int r = c.desde; r >= 1 && r <= c.hasta; ++r) p.poner(kHojaClimas, r, c.columna, c.valor);
    const LugarAnotacion lugar = lugarBloque12(p.libro, kHojaClimas, 5);
    EXPECT_EQ(lugar.fila, c.fila) << lugar.problema;
    EXPECT_CONTIENE(lugar.problema, c.problema);
    EXPECT_EQ(lugar.encontrado(), lugar.problema.empty());
  }
}

TEST(LugarFila, AtTheFirstEmptyColumnAOrRefused) {
  LibroPrueba p;
  EXPECT_EQ(lugarFila(p.libro, kHojaRiegos, 30).fila, 1);  // no heading needed
  p.fila(kHojaRiegos, 1, T("Id"), 0, 2, 3);
  p.fila(kHojaRiegos, 2, T("R1"), 0, 2, 30);
  p.fila(kHojaRiegos, 4, T("R3"), 0, 2, 30);  // below a gap: the batch never reaches it
  EXPECT_EQ(lugarFila(p.libro, kHojaRiegos, 30).fila, 3);
  p.poner(kHojaRiegos, 3, 30, N(1));
  const LugarAnotacion lugar = lugarFila(p.libro, kHojaRiegos, 30);
  EXPECT_EQ(lugar.fila, 0);
  EXPECT_EQ(lugar.problema,
            "The next row of Irrigat_batch is row 3, the first whose column A is empty, but "
            "this cell of it is not empty: Irrigat_batch!AD3. Clear it, or move what it holds, so "
            "that row 3 is empty in columns A to AD, and click \"Annotate\" again.");
  p.poner(kHojaRiegos, 3, 29, N(1));
  EXPECT_PRED_FORMAT2(::testing::IsSubstring,
                      "these cells of it are not empty: Irrigat_batch!AC3, Irrigat_batch!AD3. "
                      "Clear them, or move what they hold,",
                      lugarFila(p.libro, kHojaRiegos, 30).problema);
}

TEST(FilaConId, WhereTheBatchWouldFindTheId) {
  LibroPrueba p;
  dosBloques(p);
  p.bloque(kHojaClimas, 38, T("hidden"), 0);  // below the empty block start 26
  p.poner(kHojaClimas, 20, 1, T("shifted"));  // inside block B, off the block starts
  p.poner(kHojaRiegos, 1, 1, T("Id"));
  p.poner(kHojaRiegos, 2, 1, N(7));
  struct Caso {
    std::string_view hoja;
    Forma forma;
    CellValue id;
    std::optional<int> fila;
  };
  const Caso casos[] = {
      {kHojaClimas, Forma::Bloque12, T("B"), 14},
      {kHojaClimas, Forma::Bloque12, T("b"), std::nullopt},  // case-sensitive
      {kHojaClimas, Forma::Bloque12, T("hidden"), std::nullopt},
      {kHojaClimas, Forma::Bloque12, T("shifted"), std::nullopt},  // not on a block start
      {kHojaRiegos, Forma::Fila, T("Id"), 1},  // row 1 is compared like any other
      {kHojaRiegos, Forma::Fila, N(7), 2},
      {kHojaRiegos, Forma::Fila, T("7"), 2},  // the text "7" and the number 7 are one id
      {kHojaRiegos, Forma::Fila, T("7.0"), std::nullopt},
      {"Nowhere", Forma::Fila, T("Id"), std::nullopt},
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(filaConId(p.libro, c.hoja, c.forma, c.id), c.fila) << c.id.toDisplayText();
  }
}

TEST(SinIdTecleado, AnAnswerOfBlanksIsNoAnswer) {
  for (const char* nada : {"", " ", "   ", "\t", " \r\n ", "\xC2\xA0", " \xC2\xA0\t"}) {
    EXPECT_TRUE(sinIdTecleado(nada)) << "[" << nada << "]";
  }
  for (const char* id : {"7", " 7 ", "a b", "\xC2\xA0x", "_", "\xC2"}) {
    EXPECT_FALSE(sinIdTecleado(id)) << "[" << id << "]";
  }
}

// ---- the whole append, on a file ------------------------------------------------------------

// A workbook file with the three sheets: Clim_batch and Crop_batch with a heading and two blocks
// ("A" and "B"), Irrigat_batch with a heading and the rows "A" and "B".
class Anotar : public ::testing::Test {
 protected:
  void SetUp() override {
    LibroPrueba p;
    dosBloques(p);
    p.bloque(kHojaCultivos, 2, T("A"), 0);
    p.bloque(kHojaCultivos, 14, T("B"), 0);
    p.fila(kHojaRiegos, 1, T("Id"), 0, 2, 2);
    p.fila(kHojaRiegos, 2, T("A"), 0, 2, 30);
    p.fila(kHojaRiegos, 3, T("B"), 0, 2, 30);
    p.libro.saveAs(archivo_);
    antes_ = bytes(archivo_);
  }
  bool anotar(Workbook& libro, const std::vector<BloqueAnotacion>& bloques) {
    return anotarBloques(libro, dialogs_, bloques);
  }
  bool anotar(const std::vector<BloqueAnotacion>& bloques) {
    Workbook libro = Workbook::open(archivo_);
    return anotar(libro, bloques);
  }
  // Nothing reached the file, and the refusal said so.
  void nadaEscrito(ui::Icon icono) {
    EXPECT_EQ(bytes(archivo_), antes_);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].icon, icono);
    EXPECT_CONTIENE(dialogs_.messages[0].text, "Nothing was written to the workbook.\r\n\r\n");
  }

  ScratchDir dir_;
  fs::path archivo_ = dir_ / "libro.xlsx";
  std::string antes_;
  FakeDialogs dialogs_;
};

TEST_F(Anotar, BlockAndRowAreWrittenWhereTheBatchLooksAndSaved) {
  ASSERT_TRUE(anotar({bloque12("Crop_batch", "C", 100), filaRiego("C")}));
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_TRUE(dialogs_.questions.empty());
  const Workbook leido = Workbook::open(archivo_);
  EXPECT_EQ(linea(leido, kHojaCultivos, 25, 5), "'B' 1.22 123 0.124 -");  // block B untouched
  EXPECT_EQ(linea(leido, kHojaCultivos, 26, 6), "'C' 1.01 101.5 0.101 'Jan' -");
  EXPECT_EQ(linea(leido, kHojaCultivos, 37, 6), "'C' 1.12 112.5 0.112 'Dec' -");
  EXPECT_EQ(linea(leido, kHojaCultivos, 38, 1), "-");
  EXPECT_EQ(linea(leido, kHojaRiegos, 4, 3), "'C' 2 3");
  EXPECT_EQ(leido.number(kHojaRiegos, 4, 30), 10);
  Simulacion sim;
  sim.SIMULACION.ID_CULTIVO = T("C");
  sim.SIMULACION.ID_RIEGO = T("C");
  EXPECT_EQ(BUSCAR_CULTIVO(leido, sim), 26);
  EXPECT_EQ(BUSCAR_RIEGO(leido, sim), 4);
}

// Whatever stops the append - a sheet out of shape or missing, a value the workbook would refuse,
// met before the first write or by the write itself - leaves the file and the memory as they were.
TEST_F(Anotar, ARefusalWritesNothingInAnySheet) {
  BloqueAnotacion nan = bloque12("Clim_batch", "C");
  nan.filas[11][3] = N(std::numeric_limits<double>::quiet_NaN());
  const struct {
    bool obstaculo;  // a cell in the way of the Irrigat_batch row, saved in the file (last)
    std::vector<BloqueAnotacion> bloques;
    ui::Icon icono;
    std::string motivo;
  } casos[] = {
      {false,
       {bloque12("Crop_batch", "C"), filaRiego("C"), bloque12("Clim_data", "C")},
       ui::Icon::Exclamation,
       "The workbook has no sheet named Clim_data. Add a sheet of that name, with a heading in "
       "row 1, and click \"Annotate\" again."},
      {false,
       {filaRiego("C"), nan},
       ui::Icon::Critical,
       "Clim_batch!D37 is not a number the program can use."},
      {false,
       {bloque12("Clim_batch", "C\xff")},
       ui::Icon::Critical,
       "Clim_batch!A26 is not valid UTF-8"},
      {true,
       {bloque12("Crop_batch", "C"), filaRiego("C")},
       ui::Icon::Exclamation,
       "Irrigat_batch!E4"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.motivo);
    Workbook libro = Workbook::open(archivo_);
    if (caso.obstaculo) {
      libro.setCell(kHojaRiegos, 4, 5, N(1));
      libro.save();
      antes_ = bytes(archivo_);
    }
    dialogs_.messages.clear();
    EXPECT_FALSE(anotar(libro, caso.bloques));
    nadaEscrito(caso.icono);
    EXPECT_CONTIENE(dialogs_.messages[0].text, caso.motivo);
    EXPECT_FALSE(libro.isModified());
    EXPECT_TRUE(libro.cell(kHojaCultivos, 26, 1).isEmpty());
    EXPECT_TRUE(libro.cell(kHojaClimas, 26, 1).isEmpty());
  }
}

TEST_F(Anotar, AnIdAlreadyThereIsAskedOnceYesAppendsNoWritesNothing) {
  dialogs_.question_answers = {ui::Answer::No};
  EXPECT_FALSE(anotar({bloque12("Crop_batch", "B"), filaRiego("B")}));
  EXPECT_EQ(bytes(archivo_), antes_);
  EXPECT_TRUE(dialogs_.messages.empty());
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0].icon, ui::Icon::Question);
  EXPECT_EQ(dialogs_.questions[0].text,
            "Crop_batch already has a block with the id \"B\" (rows 14 to 25).\r\n"
            "Irrigat_batch already has a row with the id \"B\" (row 3).\r\n\r\n"
            "A batch uses the first block or row with an id and never one further down, so it "
            "would not use what is appended now under the same id.\r\n\r\nAppend anyway?");

  dialogs_.questions.clear();
  dialogs_.question_answers = {ui::Answer::Yes};
  ASSERT_TRUE(anotar({bloque12("Clim_batch", "A")}));
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_CONTIENE(dialogs_.questions[0].text, "Clim_batch already has a block with the id \"A\"");
  EXPECT_CONTIENE(dialogs_.questions[0].text, "the first block with an id");
  EXPECT_EQ(linea(Workbook::open(archivo_), kHojaClimas, 26, 2), "'A' 1");
}

// (Which names count as lock files is the lock files' own test.)
TEST_F(Anotar, AnotherProgramsLockFileAsksFirstAndNoWritesNothing) {
  std::ofstream(dir_ / ".~lock.libro.xlsx#") << "locked";
  dialogs_.question_answers = {ui::Answer::No};
  EXPECT_FALSE(anotar({bloque12("Crop_batch", "C"), filaRiego("C")}));
  EXPECT_EQ(bytes(archivo_), antes_);
  EXPECT_TRUE(dialogs_.messages.empty());
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0].icon, ui::Icon::Exclamation);
  EXPECT_CONTIENE(dialogs_.questions[0].text, (dir_ / ".~lock.libro.xlsx#").string());
  EXPECT_CONTIENE(dialogs_.questions[0].text,
                  "about to write: twelve rows for the id \"C\" in Crop_batch and a row for the "
                  "id \"C\" in Irrigat_batch.");
  // Yes goes on.
  EXPECT_TRUE(anotar({bloque12("Crop_batch", "C"), filaRiego("C")}));
  EXPECT_EQ(linea(Workbook::open(archivo_), kHojaCultivos, 26, 1), "'C'");
}

TEST_F(Anotar, AFailedSaveLeavesTheFileAndTheMemoryAsTheyWere) {
  Workbook libro = Workbook::open(archivo_);
  libro.setSaveHookForTests([](std::string_view etapa) {
    if (etapa == "rename") throw std::runtime_error("the disk is full");
  });
  EXPECT_FALSE(anotar(libro, {bloque12("Clim_batch", "C")}));
  libro.setSaveHookForTests(nullptr);
  EXPECT_EQ(bytes(archivo_), antes_);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].icon, ui::Icon::Critical);
  EXPECT_CONTIENE(dialogs_.messages[0].text,
                  "The workbook could not be saved, so nothing was appended: its file was left "
                  "as it was.\r\n\r\nThe workbook could not be saved to ");
  EXPECT_CONTIENE(dialogs_.messages[0].text, "the disk is full");
  EXPECT_FALSE(libro.isModified());
  EXPECT_TRUE(libro.cell(kHojaClimas, 26, 1).isEmpty());
  // A later append is not haunted by the first one.
  EXPECT_TRUE(anotar(libro, {bloque12("Clim_batch", "D")}));
  EXPECT_EQ(linea(Workbook::open(archivo_), kHojaClimas, 26, 1), "'D'");
}

TEST_F(Anotar, AWorkbookChangedOnDiskIsReadAgainFirst) {
  Workbook libro = Workbook::open(archivo_);
  {
    Workbook otro = Workbook::open(archivo_);  // a block saved from a spreadsheet program
    for (int r = 26; r <= 37; ++r) otro.setCell(kHojaClimas, r, 1, T("otro"));
    otro.save();
  }
  ASSERT_TRUE(anotar(libro, {bloque12("Clim_batch", "C")}));
  const Workbook leido = Workbook::open(archivo_);
  EXPECT_EQ(linea(leido, kHojaClimas, 37, 1), "'otro'");
  EXPECT_EQ(linea(leido, kHojaClimas, 38, 2), "'C' 1");
  EXPECT_EQ(linea(libro, kHojaClimas, 38, 2), "'C' 1");
}

TEST(AnotarMalformado, ABlockWithoutItsShapeOrIdIsAFaultOfTheCaller) {
  Workbook libro = Workbook::create({"Clim_batch"});
  FakeDialogs dialogs;
  BloqueAnotacion corto = bloque12("Clim_batch", "C");
  corto.filas.pop_back();
  BloqueAnotacion sin_id = bloque12("Clim_batch", "C");
  sin_id.filas[5][0] = T("");
  const std::vector<std::vector<BloqueAnotacion>> casos = {
      {corto}, {sin_id}, {bloque12("Clim_batch", "")}, {filaRiego("C"), filaRiego("D")}};
  for (const auto& bloques : casos) {
    EXPECT_THROW(anotarBloques(libro, dialogs, bloques), std::invalid_argument);
  }
  EXPECT_FALSE(libro.isModified());
}

// ---- round trip on the sample workbook ------------------------------------------------------

constexpr const char* kLeerBloque = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
for hoja, desde, hasta, columnas in (('Clim_batch', 73, 86, 6), ('Irrigat_batch', 14, 15, 4)):
    for r in range(desde, hasta + 1):
        print(hoja, r, [wb[hoja].cell(r, c).value for c in range(1, columnas + 1)])
)PY";

TEST(AnotarMuestra, AppendedBlockReadsBackAndTheBatchFindsIt) {
  ScratchDir dir;
  const fs::path archivo = testing::CopyOfSample(dir);
  Workbook libro = Workbook::open(archivo);
  FakeDialogs dialogs;
  // S14 names the climate "Sevilla", which the sample lacks.
  ASSERT_TRUE(anotarBloques(libro, dialogs,
                            {bloque12("Clim_batch", "Sevilla", 40), filaRiego("Olive Sevilla")}));
  EXPECT_TRUE(dialogs.messages.empty());
  std::string salida;
  ASSERT_EQ(testing::RunPython(kLeerBloque, "'" + archivo.string() + "'", salida), 0) << salida;
  EXPECT_CONTIENE(salida, "Clim_batch 73 ['Cabinda', ");
  EXPECT_CONTIENE(salida, "Clim_batch 74 ['Sevilla', 41, 4.15, 40.1, 'Jan', None]\n");
  EXPECT_CONTIENE(salida, "Clim_batch 85 ['Sevilla', 52, 5.25, 41.2, 'Dec', None]\n");
  EXPECT_CONTIENE(salida, "Clim_batch 86 [None, None, None, None, None, None]\n");
  EXPECT_CONTIENE(salida, "Irrigat_batch 14 ['Olive Sevilla', 2, 3, 4]\n");

  Workbook otra_vez = Workbook::open(archivo);
  const auto r = ejecutarYGuardar(otra_vez, {}, 2, nullptr);
  ASSERT_EQ(r.estado, EstadoOperacion::Completado) << r.motivo;
  EXPECT_EQ(r.informe.mensajeSinDatos(), "");
  EXPECT_EQ(linea(Workbook::open(archivo), kHojaSolucion, 15, 1), "'S14'");
}

// A sheet that cannot be read (a number cell holding the text 25,1; a sheet whose part is
// missing from the file) is named at once, in the words of the batch's refusal, instead of
// being searched row by row for room that a damaged sheet cannot offer.
TEST(AnotarDanado, TheDamageIsNamedAsTheBatchNamesIt) {
  const struct {
    const char* archivo;
    std::vector<BloqueAnotacion> bloques;
    const char* dano;
  } casos[] = {
      {"clim-batch-bad-number.xlsx",
       {bloque12("Clim_batch", "NEW")},
       "in sheet 'Clim_batch', cell B3 holds '25,1' where a number is stored."},
      {"irrigat-batch-part-missing.xlsx",
       {bloque12("Crop_batch", "NEW"), filaRiego("NEW")},
       "the part 'xl/worksheets/sheet5.xml' of sheet 'Irrigat_batch' is missing."},
  };
  for (const auto& c : casos) {
    ScratchDir dir;
    const fs::path archivo = dir / c.archivo;
    fs::copy_file(testing::SourceDir() / "tests/batch/data" / c.archivo, archivo);
    fs::permissions(archivo, fs::perms::owner_read | fs::perms::owner_write);
    const std::string antes = bytes(archivo);
    Workbook libro = Workbook::open(archivo);
    const auto batch = ejecutarYGuardar(libro, {}, 1, nullptr);
    ASSERT_EQ(batch.estado, EstadoOperacion::Rechazado) << c.archivo;
    EXPECT_CONTIENE(batch.motivo, c.dano);

    FakeDialogs dialogs;
    EXPECT_FALSE(anotarBloques(libro, dialogs, c.bloques));
    ASSERT_EQ(dialogs.messages.size(), 1u) << c.archivo;
    EXPECT_EQ(dialogs.messages[0].text,
              "Nothing was written to the workbook.\r\n\r\n" + batch.motivo);
    EXPECT_EQ(dialogs.messages[0].icon, ui::Icon::Exclamation);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(bytes(archivo), antes);
  }
}

}  // namespace
}  // namespace medravolix::batch
