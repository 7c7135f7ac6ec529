// Runs a whole batch without windows, for benchmarks and for checking results by hand:
//
//   run_batch WORKBOOK OUTPUT [--evaporative-depth CM] [--simulation-depth CM]
//             [--capacity pedotransfer|empirical] [--solution field-capacity|saturation|drainage]
//             [--threads N]
//   run_batch --help | -h      prints this usage
//
// The batch runs on WORKBOOK as read and the result is saved as OUTPUT, through the same atomic
// path as every save (a new file beside OUTPUT, renamed over it); WORKBOOK is never written. An
// existing OUTPUT that is write-protected is refused before the batch runs.
// The defaults are the settings dialog's: 15 cm, 90 cm, pedotransfer functions, saturation, one
// thread per core. Prints the batch's two lists of messages, then one summary
// line. Exits 0 when the batch ran and was saved, 1 otherwise (the reason on standard error).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "batch/ejecutar_batch.h"
#include "workbook/workbook.h"
#include "workbook/workbook_file.h"

namespace {

namespace fs = std::filesystem;
using medravolix::batch::AjustesBatch;
using medravolix::batch::EstadoOperacion;

constexpr const char* kUso =
    "usage: run_batch WORKBOOK OUTPUT [--evaporative-depth CM] [--simulation-depth CM]\n"
    "                 [--capacity pedotransfer|empirical]\n"
    "                 [--solution field-capacity|saturation|drainage] [--threads N]\n";

struct Opciones {
  fs::path libro, salida;
  AjustesBatch ajustes;
  unsigned hilos = 0;  // one per core
};

struct ErrorUso {
  std::string motivo;
};

// A whole number from 0 to `maximo` typed as digits only, as the settings dialog takes it.
long entero(const std::string& nombre, const std::string& texto, long maximo) {
  const bool digitos = !texto.empty() && texto.size() <= 6 &&
                       texto.find_first_not_of("0123456789") == std::string::npos;
  if (!digitos || std::stol(texto) > maximo) {
    throw ErrorUso{nombre + " takes a whole number from 0 to " + std::to_string(maximo) +
                   ", not \"" + texto + "\""};
  }
  return std::stol(texto);
}

void opcion(Opciones& o, const std::string& nombre, const std::string& valor) {
  if (nombre == "--evaporative-depth") {
    o.ajustes.PROF_EVAPORATIVA = static_cast<double>(entero(nombre, valor, 32767));
  } else if (nombre == "--simulation-depth") {
    o.ajustes.PROF_SIMULACION = static_cast<double>(entero(nombre, valor, 32767));
  } else if (nombre == "--capacity" && (valor == "pedotransfer" || valor == "empirical")) {
    o.ajustes.OPCION_CAPACIDAD = valor == "pedotransfer"
                                     ? medravolix::OpcionCapacidad::Pedotransferencia
                                     : medravolix::OpcionCapacidad::Empirica;
  } else if (nombre == "--solution" && valor == "field-capacity") {
    o.ajustes.OPCION_SOLUCION = medravolix::OpcionSolucion::CapacidadCampo;
  } else if (nombre == "--solution" && valor == "saturation") {
    o.ajustes.OPCION_SOLUCION = medravolix::OpcionSolucion::Saturacion;
  } else if (nombre == "--solution" && valor == "drainage") {
    o.ajustes.OPCION_SOLUCION = medravolix::OpcionSolucion::Drenaje;
  } else if (nombre == "--threads") {
    o.hilos = static_cast<unsigned>(entero(nombre, valor, 4096));
    if (o.hilos == 0) throw ErrorUso{"--threads takes at least 1"};
  } else {
    throw ErrorUso{"unknown option or value: " + nombre + " " + valor};
  }
}

Opciones leerOpciones(const std::vector<std::string>& args) {
  Opciones o;
  std::vector<std::string> rutas;
  for (std::size_t k = 0; k < args.size(); ++k) {
    if (args[k].rfind("--", 0) != 0) {
      rutas.push_back(args[k]);
    } else if (k + 1 < args.size()) {
      opcion(o, args[k], args[k + 1]);
      ++k;
    } else {
      throw ErrorUso{args[k] + " needs a value"};
    }
  }
  if (rutas.size() != 2) throw ErrorUso{"give the workbook and the output file"};
  o.libro = rutas[0];
  o.salida = rutas[1];
  return o;
}

// The core keeps its messages' CR LF line breaks; a terminal wants LF.
std::string lineas(std::string texto) {
  for (std::size_t k; (k = texto.find("\r\n")) != std::string::npos;) texto.erase(k, 1);
  return texto;
}

// OUTPUT must be another file than WORKBOOK, which is never written, and an existing OUTPUT
// must be writable: both are refused before the batch runs.
void comprobarSalida(const Opciones& o) {
  std::error_code ec;
  if (fs::exists(o.salida) && fs::equivalent(o.libro, o.salida, ec)) {
    throw std::runtime_error("OUTPUT is the workbook itself: give another file");
  }
  medravolix::workbook::WorkbookFile::requireWritable(o.salida);
}

int ejecutar(const Opciones& o) {
  comprobarSalida(o);
  const auto inicio = std::chrono::steady_clock::now();
  auto libro = medravolix::workbook::Workbook::open(o.libro);
  const auto r =
      medravolix::batch::ejecutarYGuardarComo(libro, o.salida, o.ajustes, o.hilos, nullptr);
  const std::chrono::duration<double> tiempo = std::chrono::steady_clock::now() - inicio;
  if (r.estado == EstadoOperacion::Rechazado) {
    std::cerr << "run_batch: the batch was refused: " << r.motivo << "\n";
    return 1;
  }
  const auto& inf = r.informe;
  if (!inf.mensajeSinDatos().empty()) std::cout << lineas(inf.mensajeSinDatos()) << "\n";
  if (!inf.mensajeObservadas().empty()) std::cout << lineas(inf.mensajeObservadas()) << "\n";
  const double segundos = tiempo.count();
  std::printf(
      "simulations: %d, run: %d, missing input: %d, refused: %d, seconds: %.4f, "
      "per second: %.1f\n",
      inf.NUM_SIMULACIONES, inf.ejecutadas, inf.sin_datos, inf.rechazadas, segundos,
      segundos > 0 ? inf.NUM_SIMULACIONES / segundos : 0.0);
  std::fflush(stdout);
  if (r.estado == EstadoOperacion::NoGuardado) {
    std::cerr << "run_batch: the batch ran but " << o.salida.string()
              << " was not saved: " << r.motivo << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kUso;
      return 0;
    }
  }
  try {
    return ejecutar(leerOpciones(args));
  } catch (const ErrorUso& e) {
    std::cerr << "run_batch: " << e.motivo << "\n" << kUso;
  } catch (const std::exception& e) {
    std::cerr << "run_batch: " << e.what() << "\n";
  }
  return 1;
}
