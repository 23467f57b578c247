# Doxygen's view of a Markdown file written for GitHub: GitHub makes the anchors of headings and
# resolves links to other files of the repository by itself, doxygen does neither. This writes
# each heading's anchor out ({#slug}, as GitHub makes it), for the links to anchors, and turns
# links to files that doxygen does not read into their text. Code blocks pass unchanged.
use strict;
use warnings;

my $code = 0;
while (my $line = <>) {
    $code = !$code if $line =~ /^```/;
    if (!$code) {
        if ($line =~ /^(#{2,6}) (.*?)\s*$/) {
            my ($level, $title) = ($1, $2);
            my $slug = lc $title;
            $slug =~ s/[^a-z0-9 _-]//g;
            $slug =~ s/ /-/g;
            $line = "$level $title {#$slug}\n";
        }
        $line =~ s/\[([^\]]+)\]\((?!https?:|#)[^)]+\)/$1/g;
    }
    print $line;
}
