# The chart of bench/RESULTS.md: time of each library relative to raw pugixml, per workload.
# Usage: gnuplot -e "datafile='chart.dat'; outfile='results.png'" bench/chart.gp
set terminal pngcairo size 1800,720 font "sans,11"
set output outfile
# Names such as iso_639-3 are printed as they are, not as subscripts.
set termoption noenhanced
set title "Time relative to raw pugixml (median CPU time; 1 = raw pugixml; log scale)"
set style data histograms
set style histogram clustered gap 1
set style fill solid 0.85 border -1
set boxwidth 0.9
set logscale y
set yrange [0.05:*]
set grid ytics
set ytics (0.1, 0.2, 0.5, 1, 1.5, 2, 3, 5, 10, 20, 50)
set xtics rotate by -40 left font ",9"
set key top left
set datafile missing "NaN"
set bmargin 7
set arrow from graph 0, first 1 to graph 1, first 1 nohead dashtype 2 linecolor rgb "#444444"
plot datafile using 2:xtic(1) title "ZuX" linecolor rgb "#1f77b4", \
     '' using 3 title "model (floor)" linecolor rgb "#aec7e8", \
     '' using 4 title "model with std::string" linecolor rgb "#9edae5", \
     '' using 5 title "model with ZuX's interface" linecolor rgb "#c5b0d5", \
     '' using 6 title "libxml2" linecolor rgb "#ff7f0e", \
     '' using 7 title "tinyxml2" linecolor rgb "#2ca02c"
