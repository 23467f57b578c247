# Doxygen's view of a Markdown file written for GitHub: GitHub makes the anchors of headings and
# resolves links to other files of the repository by itself, doxygen does neither. This writes
# each heading's anchor out ({#slug}, as GitHub makes it), and a page label for the title of each
# page of docs/ ({#doc-NAME}). A link to a heading of a page that doxygen reads (README.md, the
# pages of docs/) becomes a link to that anchor, a link to such a page a link to its label (the
# README is the main page, "index"), and a link to any other file its text. Code blocks pass
# unchanged. Usage: perl DoxygenMarkdown.pl FILE (doxygen's FILTER_PATTERNS).
use strict;
use warnings;
use Cwd qw(abs_path);
use File::Basename qw(basename dirname);

my $root = abs_path(dirname($0) . '/..');
my $page = abs_path($ARGV[0]);
my $here = dirname($page);

# The label of the page that a path names, or undef when doxygen does not read that file.
sub label {
    my ($path) = @_;
    my $file = abs_path("$here/$path");
    return undef unless defined $file;
    return 'index' if $file eq "$root/README.md";
    return 'doc-' . basename($file, '.md') if dirname($file) eq "$root/docs" && $file =~ /\.md$/;
    return undef;
}

sub rewrite_link {
    my ($text, $target) = @_;
    return "[$text]($target)" if $target =~ /^(https?:|#)/;
    my ($path, $anchor) = split /#/, $target, 2;
    my $label = label($path);
    return $text unless defined $label;
    return "[$text](#" . ($anchor // $label) . ")";
}

my $code = 0;
my $first = 1;
while (my $line = <>) {
    $code = !$code if $line =~ /^\s*```/;
    if (!$code) {
        if ($line =~ /^(#{1,6}) (.*?)\s*$/) {
            my ($level, $title) = ($1, $2);
            if (length($level) == 1) {
                my $label = $first ? label(basename($page)) : undef;
                $line = "$level $title {#$label}\n" if defined $label && $label ne 'index';
            } else {
                my $slug = lc $title;
                $slug =~ s/[^a-z0-9 _-]//g;
                $slug =~ s/ /-/g;
                $line = "$level $title {#$slug}\n";
            }
        }
        $line =~ s/\[([^\]]+)\]\(([^)]+)\)/rewrite_link($1, $2)/ge;
    }
    $first = 0 if $line =~ /\S/;
    print $line;
}
