# libbz2 from the unpacked Debian sources, for the small host-only projects
# (the packager built by the cross build, the benchmark's package generator).
function(trelvane_add_host_bzip2 target bz2_dir)
  add_library(${target} STATIC
    ${bz2_dir}/blocksort.c ${bz2_dir}/huffman.c ${bz2_dir}/crctable.c ${bz2_dir}/randtable.c
    ${bz2_dir}/compress.c ${bz2_dir}/decompress.c ${bz2_dir}/bzlib.c)
  target_include_directories(${target} SYSTEM PUBLIC "${bz2_dir}")
  target_compile_options(${target} PRIVATE -w)
endfunction()
