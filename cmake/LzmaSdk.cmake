# The LZMA SDK's 7z decoder (C), fetched from Debian's source package at
# configure time and built as the static library lzma_sdk.
set(LZMA_SDK_DIR ${CMAKE_BINARY_DIR}/_deps/lzma-sdk CACHE PATH "Folder holding the LZMA SDK's C/ sources")
if(NOT EXISTS ${LZMA_SDK_DIR}/C/7zArcIn.c)
  message(STATUS "Fetching the LZMA SDK sources into ${LZMA_SDK_DIR}")
  execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/fetch-lzma-sdk.sh ${LZMA_SDK_DIR}
                  RESULT_VARIABLE lzma_fetch_result)
  if(NOT lzma_fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not fetch the LZMA SDK (Debian source package 7zip)")
  endif()
endif()

set(_lzma_c ${LZMA_SDK_DIR}/C)
add_library(lzma_sdk STATIC
  ${_lzma_c}/7zAlloc.c ${_lzma_c}/7zArcIn.c ${_lzma_c}/7zBuf.c ${_lzma_c}/7zBuf2.c
  ${_lzma_c}/7zCrc.c ${_lzma_c}/7zCrcOpt.c ${_lzma_c}/7zDec.c ${_lzma_c}/7zStream.c
  ${_lzma_c}/Bcj2.c ${_lzma_c}/Bra.c ${_lzma_c}/Bra86.c ${_lzma_c}/BraIA64.c
  ${_lzma_c}/CpuArch.c ${_lzma_c}/Delta.c ${_lzma_c}/Lzma2Dec.c ${_lzma_c}/LzmaDec.c)
target_include_directories(lzma_sdk SYSTEM PUBLIC ${_lzma_c})
set_target_properties(lzma_sdk PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_compile_options(lzma_sdk PRIVATE -w)
