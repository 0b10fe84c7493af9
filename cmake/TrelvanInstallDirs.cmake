# Where an installed Trelvan keeps its files (below the install prefix).
include(GNUInstallDirs)
# The simulated module's library is private to the program: the executable
# finds it through its RUNPATH, never through the system's library path.
set(TRELVAN_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/trelvan)
set(TRELVAN_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/trelvan)
