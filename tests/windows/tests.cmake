# The Windows tests, run under Wine: the end-to-end case folders through the
# Windows mode of the case runner, and the Windows failure table.  Every run
# goes through the launcher, which records the full 32-bit exit status.
add_executable(launch windows/launch.cpp)
target_link_libraries(launch PRIVATE shell32)
add_executable(console_event windows/console_event.cpp)
target_link_libraries(console_event PRIVATE wgnrain_io)

file(GLOB e2e_cases LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/e2e/cases/*)
foreach(case_dir ${e2e_cases})
  if(IS_DIRECTORY ${case_dir})
    get_filename_component(case_name ${case_dir} NAME)
    add_test(NAME e2e.${case_name}
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run_case.sh $<TARGET_FILE:wgnrain> ${case_dir}
                     $<TARGET_FILE:launch>)
  endif()
endforeach()
add_test(NAME e2e.failures_windows
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/failures_windows.sh $<TARGET_FILE:wgnrain>
                 $<TARGET_FILE:launch> $<TARGET_FILE:console_event>)
# Signals are sent while a run is busy: nothing else should compete for the cores then.
set_tests_properties(e2e.failures_windows PROPERTIES RUN_SERIAL TRUE)

# The Python scripts (registered in tests/CMakeLists.txt) run the exe through
# the launcher.
set_tests_properties(${python_tests} PROPERTIES ENVIRONMENT WGNRAIN_LAUNCHER=$<TARGET_FILE:launch>)

# The Windows build's NetCDF-C (tools/netcdf-windows.sh), when it is given: a
# classic file made from CDL text by the host's ncgen (Debian's netcdf-bin),
# read back under Wine.
if(TARGET NetCDF::NetCDF)
  find_program(WGNRAIN_NCGEN ncgen)
  if(NOT WGNRAIN_NCGEN)
    message(FATAL_ERROR "no ncgen for the NetCDF test: install netcdf-bin (tools/install-deps.sh --windows does)")
  endif()
  add_executable(netcdf_smoke windows/netcdf_smoke.cpp)
  target_link_libraries(netcdf_smoke PRIVATE NetCDF::NetCDF)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/netcdf_smoke.nc
                     COMMAND ${WGNRAIN_NCGEN} -k classic -o ${CMAKE_CURRENT_BINARY_DIR}/netcdf_smoke.nc
                             ${CMAKE_CURRENT_SOURCE_DIR}/windows/netcdf_smoke.cdl
                     DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/netcdf_smoke.cdl VERBATIM)
  add_custom_target(netcdf_smoke_file ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/netcdf_smoke.nc)
  add_test(NAME windows.netcdf_smoke COMMAND netcdf_smoke netcdf_smoke.nc WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endif()
